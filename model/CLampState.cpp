#include "model/CLampState.h"

#include "model/NumberedName.h"
#include "platform/Archive.h"

namespace {

constexpr int kIdsLampSystemName = 61451; // "Soustava svítidel %ld"

} // namespace

CLampState::CLampState()
    : m_name(kzev::numberedName(kIdsLampSystemName, 1))
{
}

void CLampState::Serialize(kzev::Archive& ar)
{
    ar.io(m_name);
    if (ar.isStoring()) {
        ar.writeArrayCount(static_cast<std::uint32_t>(m_surfaces.size()));
        for (auto& surface : m_surfaces)
            surface.Serialize(ar);
        return;
    }
    // Loading appends to what the mode holds; the room loads into fresh modes.
    const std::uint32_t count = ar.readArrayCount(CWorkSystem::MinRecordBytes());
    m_surfaces.reserve(m_surfaces.size() + ar.reservable(count, sizeof(CWorkSystem)));
    for (std::uint32_t i = 0; i < count; ++i) {
        m_surfaces.emplace_back(CViewSettings::kWhite);
        m_surfaces.back().Serialize(ar);
    }
}
