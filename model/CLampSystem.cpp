#include "model/CLampSystem.h"

#include "model/ModelLimits.h"
#include "model/NumberedName.h"
#include "platform/Archive.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kIdsLampSystemName = 61451; // "Soustava svítidel %ld"

// Smallest luminaire record: flag, no factors (before 1016) and three vectors.
constexpr std::size_t kMinLuminaireBytes = 4 + 3 * 24;

} // namespace

CLampSystem::CLampSystem()
    : m_name(kzev::numberedName(kIdsLampSystemName, 1))
{
}

void CLampSystem::Serialize(kzev::Archive& ar)
{
    const std::int32_t version = kzev::projectFileVersion();
    // Storing writes everything; loading skips what the file's version lacks.
    const auto from = [&](std::int32_t threshold) { return ar.isStoring() || version >= threshold; };

    ar.io(m_name);
    ar.io(m_luminaireRecord);
    ar.io(m_luminaireDatabase);
    ar.io(m_lampRecord);
    ar.io(m_lampDatabase);
    if (from(1002))
        ar.io(m_catalogueGroup);
    if (from(1004)) {
        ar.io(m_lampFlux);
        ar.io(m_ownFlux);
    }
    if (from(1006))
        ar.io(m_selectedLuminaire);
    ar.io(m_em);
    for (int i = 0; i < 3; ++i)
        ar.io(m_lumenA[i]);
    ar.io(m_workPlaneHeight);
    ar.io(m_mountingHeight);
    ar.io(m_maintenanceFactor);
    ar.io(m_numberOfLuminaires);
    // The file keeps B4..B6 before B1..B3.
    for (int i = 3; i < 6; ++i)
        ar.io(m_lumenB[i]);
    for (int i = 0; i < 3; ++i)
        ar.io(m_lumenB[i]);
    for (int i = 3; i < 7; ++i)
        ar.io(m_lumenA[i]);
    ar.io(m_generalPitch);
    ar.io(m_generalOrientation);
    ar.io(m_nonRegular);
    ar.io(m_centreOnLayout);
    ar.io(m_switchedOff);
    ar.io(m_count1);
    ar.io(m_count2);
    ar.io(m_tilt);
    ar.io(m_turn);
    ar.io(m_rotation);
    ar.io(m_directApply);
    ar.io(m_criticalAngles[0]);
    ar.io(m_criticalAngles[1]);
    ar.io(m_verdicts[0]);
    ar.io(m_verdicts[1]);
    for (int direction = 0; direction < 2; ++direction) {
        for (int cell = 0; cell < 5; ++cell) {
            ar.io(m_luminance[direction][cell]);
            ar.io(m_limit[direction][cell]);
            ar.io(m_pass[direction][cell]);
        }
    }
    kzev::serializeArray(ar, m_luminaires, kMinLuminaireBytes);
    if (from(1011))
        ar.io(m_axisEntry);
    if (from(1013))
        ar.io(m_uncertaintyFactor);
    if (from(1016)) {
        ar.io(m_bindingType);
        ar.io(m_sourceSystem);
        m_bindingVector.Serialize(ar);
    }
    if (from(1001)) {
        m_c0Axis.Serialize(ar);
        m_opticalAxis.Serialize(ar);
    }
    m_origin.Serialize(ar);
    m_pitch1.Serialize(ar);
    m_pitch2.Serialize(ar);
    // The layout and the length labels run over the counts.
    if (ar.isLoading() && !kzev::arrayWithinLimits(kzev::ArrayKind::luminaires, m_count1, m_count2))
        throw kzev::ArchiveError("the lamp system " + m_name + " has " + std::to_string(m_count1) + " x "
                + std::to_string(m_count2) + " luminaires",
            ar.position());
}

void CLampSystem::FitModeFactors(std::size_t modeCount)
{
    for (auto& luminaire : m_luminaires)
        luminaire.FitModeFactors(modeCount);
}
