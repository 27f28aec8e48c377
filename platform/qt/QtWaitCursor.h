#pragma once

#include "platform/Services.h"

namespace kzev {

/** The wait cursor as an application override cursor; begin and end nest. */
class QtWaitCursor final : public IWaitCursor {
public:
    void begin() override;
    void end() override;
};

} // namespace kzev
