#pragma once

#include "app/frame/FrameSeams.h"
#include "platform/DocumentShell.h"

#include <string>

class CKzevApp;
class CKzevDoc;

namespace kzev {

/**
 * The document as the shell drives it: File New, Open, Save and Save As on
 * CKzevDoc, the question before a modified project is dropped, the frame's
 * title after each of them; and, the other way round, what the document asks
 * of the shell at a new project (the main window, the project dialog, the
 * new-roadway command).
 */
class KzevDocumentSeam final : public IDocumentSeam, public IDocumentShell {
public:
    KzevDocumentSeam(CKzevDoc& document, CKzevApp& app);

    bool calcRunning() const override;
    bool newDocument() override;
    bool openDocument(const std::string& path) override;
    bool isModified() const override;
    bool isUntitled() const override;
    void saveDocument() override;
    void saveDocumentAs() override;
    bool saveModified() override;
    void closeDocument() override;
    void updateTitle() override;

    bool mainWindowExists() override;
    bool runProjectDialog(ProjectDialogFields& fields) override;
    void newRoadway() override;

    /** Returns the project's title: its file name, or "Nový" while it has none. */
    [[nodiscard]] std::string title() const;

private:
    bool saveTo(const std::string& path);

    CKzevDoc& m_document;
    CKzevApp& m_app;
};

} // namespace kzev
