#include "model/CViewSettings.h"

#include "model/NumberedName.h"
#include "platform/Archive.h"

namespace {

constexpr int kIdsViewTitle = 62004; // "Pojmenovaný pohled %d"

std::vector<std::string> texts(std::initializer_list<const char*> items)
{
    return { items.begin(), items.end() };
}

// A list of texts: a 16-bit (escaped) count, then the texts.
void ioTexts(kzev::Archive& ar, std::vector<std::string>& list)
{
    if (ar.isStoring()) {
        ar.writeShortCount(static_cast<std::uint32_t>(list.size()));
        for (const auto& text : list)
            ar.writeString(text);
    } else {
        const std::uint32_t count = ar.readShortCount(1);
        list.clear();
        list.reserve(ar.reservable(count, sizeof(std::string)));
        for (std::uint32_t i = 0; i < count; ++i)
            list.push_back(ar.readString());
    }
}

} // namespace

CViewSettings::CViewSettings()
    : CViewSettings(std::array<std::uint32_t, 8>{ kWhite, kWhite, kWhite, kWhite, kGreen, kBlue, kRed, kRed })
{
}

CViewSettings::CViewSettings(const std::array<std::uint32_t, 8>& colors)
    : m_title(kzev::numberedName(kIdsViewTitle, 1))
    , m_colors(colors)
    , m_isoIlluminance(texts({ "1", "2", "5", "10", "20", "50", "75", "100", "150", "200", "300", "400", "500",
          "600", "750", "1000", "1250", "1500" }))
    , m_isoUgr(texts({ "1", "2", "5", "12", "16", "19", "22", "25", "28", "30", "40", "50", "75", "100" }))
    , m_isoLuminance(texts({ "0.1", "0.2", "0.5", "1.0", "1.5", "2.0", "5.0", "7.5", "10.0", "15.0", "20.0",
          "30.0", "40.0", "50.0", "60.0", "75.0", "100.0" }))
    , m_isoGr(texts({ "10", "20", "30", "40", "50", "60", "70", "80", "90" }))
{
}

void CViewSettings::Serialize(kzev::Archive& ar)
{
    const std::int32_t version = ar.isStoring() ? kzev::kCurrentFileVersion : kzev::projectFileVersion();

    ar.io(m_title);
    for (std::int32_t* field : { &m_draw3D, &m_drawRoom, &m_drawObstacles, &m_drawPoints, &m_fillSurfaces,
             &m_surfaceLabels, &m_pointLabels, &m_relief, &m_isolines, &m_luminaires, &m_lampSystemLabels,
             &m_luminaireAxes, &m_luminaireCoordinates, &m_luminaireCharacteristics, &m_glareMarks,
             &m_displaySwitch })
        ar.io(*field);
    for (auto& color : m_colors)
        ar.io(color);
    ar.io(m_brightness);
    ar.io(m_perspective);
    ar.io(m_viewCode);
    ar.io(m_intensityCurveScale);
    ar.io(m_glareMarkSize);
    if (version >= 1021) {
        for (std::int32_t* field : { &m_luminaireType, &m_showIlluminance, &m_showRoadLuminance, &m_showUgr,
                 &m_showGr, &m_print })
            ar.io(*field);
    }
    if (version >= 1023)
        ar.io(m_allAreas);
    if (version >= 1021) {
        for (double* field : { &m_illuminanceLimit, &m_luminanceLimit, &m_ugrLimit, &m_grLimit,
                 &m_outdoorIlluminance })
            ar.io(*field);
        for (std::int32_t* field : { &m_artificialOff, &m_addDaylight, &m_daylightAvailable })
            ar.io(*field);
        ar.io(m_displayValue5);
        ar.io(m_displayValue6);
    }
    m_viewVector1.Serialize(ar);
    m_viewVector2.Serialize(ar);
    ioTexts(ar, m_isoIlluminance);
    ioTexts(ar, m_isoUgr);
    ioTexts(ar, m_isoLuminance);
    ioTexts(ar, m_isoGr);
}
