#pragma once

namespace kzev {

/** A page of a property sheet: filled each time it is shown, written back each time it is left. */
class IPropertyPage {
public:
    virtual ~IPropertyPage() = default;
    virtual void OnSetActive() = 0;
    virtual void OnKillActive() = 0;
};

} // namespace kzev
