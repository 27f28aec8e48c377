#pragma once

#include "app/frame/FrameSeams.h"

class CKzevApp;
class CKzevDoc;

namespace kzev {

/**
 * The frame's start command bound to the point calculation of the room
 * selected in the project tree: the headless run on the document, with the
 * frame's save command and its bars as the run's shell hooks.
 */
class PointCalculationSeam final : public ICalculationSeam {
public:
    PointCalculationSeam(CKzevDoc& document, CKzevApp& app);

    void runPointCalculation() override;

private:
    CKzevDoc& m_document;
    CKzevApp& m_app;
};

} // namespace kzev
