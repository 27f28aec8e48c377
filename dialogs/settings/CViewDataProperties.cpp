#include "dialogs/settings/CViewDataProperties.h"

#include "dialogs/settings/ColourButton.h"
#include "dialogs/settings/ViewPageValues.h"
#include "model/CKzevDoc.h"
#include "model/UserSettings.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

void repaintView() { kzev::services().view->refreshView(0, 0); }

constexpr kzev::LimitKind kLimitKinds[] = { kzev::LimitKind::Illuminance, kzev::LimitKind::Ugr,
    kzev::LimitKind::Gr, kzev::LimitKind::RoadLuminance };

// Limits and the outdoor illuminance are never below nothing.
constexpr kzev::NumberRange kNonNegative { 0.0, 1.0e9 };
constexpr int kBadNumberId = 65341; // "„%s“ není platné číslo v rozsahu pole !"

} // namespace

CViewDataProperties::CViewDataProperties(CKzevDoc& doc, CViewSettings& working, QWidget* parent)
    : QWidget(parent)
    , m_doc(doc)
    , m_working(working)
    , m_surfaceLuminance(new QCheckBox(QStringLiteral("Na plochách jasy"), this))
    , m_outdoor(new QLineEdit(this))
    , m_addDaylight(new QCheckBox(QStringLiteral("Přičíst denní osvětlenost"), this))
    , m_artificialOff(new QCheckBox(QStringLiteral("Vypnout umělou osvětlenost"), this))
{
    setWindowTitle(QStringLiteral("Zobrazované hodnoty"));

    auto* shown = new QGroupBox(QStringLiteral("Hodnoty m.ú."), this);
    auto* shownLayout = new QVBoxLayout(shown);
    const std::array<QString, 4> showCaptions { QStringLiteral("Osvětlenost"), QStringLiteral("Činitel oslnění UGR"),
        QStringLiteral("Činitel oslnění GR"), QStringLiteral("Jas vozovky") };
    for (std::size_t i = 0; i < m_show.size(); ++i) {
        m_show[i] = new QCheckBox(showCaptions[i], shown);
        shownLayout->addWidget(m_show[i]);
        connect(m_show[i], &QCheckBox::clicked, this, [this, i](bool on) {
            *showField(i) = on ? 1 : 0;
            repaintView();
        });
    }
    shownLayout->addWidget(m_surfaceLuminance);
    shownLayout->addStretch(1);
    connect(m_surfaceLuminance, &QCheckBox::clicked, this, [this](bool on) {
        if (m_room >= 0 && static_cast<std::size_t>(m_room) < m_doc.m_rooms.size())
            m_doc.m_rooms[static_cast<std::size_t>(m_room)].m_luminanceOnSurfaces = on ? 1 : 0;
        repaintView();
    });

    auto* limits = new QGroupBox(QStringLiteral("Mezní hodnoty, hodnoty a barvy izočar"), this);
    auto* limitsLayout = new QGridLayout(limits);
    const std::array<QString, 4> limitCaptions { QStringLiteral("Osvětlenost [lx]"),
        QStringLiteral("Činitel oslnění UGR"), QStringLiteral("Činitel oslnění GR"),
        QStringLiteral("Jas vozovky [cd/m2]") };
    for (std::size_t i = 0; i < m_limits.size(); ++i) {
        const int row = static_cast<int>(i) * 2;
        limitsLayout->addWidget(new QLabel(limitCaptions[i], limits), row, 0);
        m_limits[i] = new QLineEdit(limits);
        m_limits[i]->setMaximumWidth(80);
        m_values[i] = new QLineEdit(limits);
        m_values[i]->setMinimumWidth(540);
        limitsLayout->addWidget(m_limits[i], row + 1, 0);
        limitsLayout->addWidget(m_values[i], row + 1, 1);
        // Each field is taken when the user has finished typing it, whole or not at all.
        connect(m_limits[i], &QLineEdit::editingFinished, this, [this, i] { takeLimit(i); });
        connect(m_values[i], &QLineEdit::editingFinished, this, [this, i] {
            if (m_filling || !m_values[i]->isModified())
                return;
            m_values[i]->setModified(false);
            takeValues(i);
        });
    }
    auto* colourRow = new QHBoxLayout;
    for (std::size_t i = 0; i < m_colours.size(); ++i) {
        m_colours[i] = new QPushButton(QStringLiteral("Barva %1").arg(i + 1), limits);
        colourRow->addWidget(m_colours[i]);
        connect(m_colours[i], &QPushButton::clicked, this, [this, i] { OnColour(i); });
    }
    colourRow->addStretch(1);
    limitsLayout->addLayout(colourRow, 8, 0, 1, 2);
    limitsLayout->setRowStretch(9, 1);

    connect(m_outdoor, &QLineEdit::editingFinished, this, [this] {
        if (m_filling || !m_outdoor->isModified())
            return;
        m_outdoor->setModified(false);
        if (readOutdoor())
            repaintView();
    });

    auto* daylight = new QGroupBox(QStringLiteral("Denní osvětlení"), this);
    auto* daylightLayout = new QGridLayout(daylight);
    daylightLayout->addWidget(new QLabel(QStringLiteral("Venkovní osvětlenost"), daylight), 0, 0);
    daylightLayout->addWidget(m_outdoor, 0, 1);
    daylightLayout->addWidget(m_addDaylight, 1, 0, 1, 2);
    daylightLayout->addWidget(m_artificialOff, 2, 0, 1, 2);
    connect(m_addDaylight, &QCheckBox::clicked, this, [this](bool on) {
        m_working.m_addDaylight = on ? 1 : 0;
        readOutdoor();
        repaintView();
    });
    connect(m_artificialOff, &QCheckBox::clicked, this, [this](bool on) {
        m_working.m_artificialOff = on ? 1 : 0;
        readOutdoor();
        repaintView();
    });

    auto* left = new QVBoxLayout;
    left->addWidget(shown);
    left->addWidget(daylight);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(limits, 1);
}

std::int32_t* CViewDataProperties::showField(std::size_t quantity) const
{
    const std::array<std::int32_t*, 4> fields { &m_working.m_showIlluminance, &m_working.m_showUgr,
        &m_working.m_showGr, &m_working.m_showRoadLuminance };
    return fields[quantity];
}

double* CViewDataProperties::limitField(std::size_t quantity) const
{
    const std::array<double*, 4> fields { &m_working.m_illuminanceLimit, &m_working.m_ugrLimit,
        &m_working.m_grLimit, &m_working.m_luminanceLimit };
    return fields[quantity];
}

std::vector<std::string>* CViewDataProperties::valuesField(std::size_t quantity) const
{
    const std::array<std::vector<std::string>*, 4> fields { &m_working.m_isoIlluminance, &m_working.m_isoUgr,
        &m_working.m_isoGr, &m_working.m_isoLuminance };
    return fields[quantity];
}

void CViewDataProperties::OnSetActive()
{
    const std::optional<int> room = kzev::services().view->selectedRoom();
    if (!room || *room < 0 || static_cast<std::size_t>(*room) >= m_doc.m_rooms.size())
        return;
    m_room = *room;
    const CRoom& current = m_doc.m_rooms[static_cast<std::size_t>(m_room)];
    m_filling = true;
    // A quantity the room does not compute cannot be shown.
    const std::array<std::int32_t, 4> computed { current.m_computeIlluminance, current.m_computeUgr,
        current.m_computeGr, current.m_computeRoadLuminance };
    for (std::size_t i = 0; i < m_show.size(); ++i) {
        m_show[i]->setEnabled(computed[i] == 1);
        if (computed[i] != 1)
            *showField(i) = 0;
        m_show[i]->setChecked(*showField(i) == 1);
        m_values[i]->setText(QString::fromStdString(kzev::joinIsoList(*valuesField(i))));
        m_values[i]->setCursorPosition(0);
        m_limits[i]->setText(QString::fromStdString(kzev::formatLimit(kLimitKinds[i], *limitField(i))));
    }
    m_surfaceLuminance->setChecked(current.m_luminanceOnSurfaces == 1);

    // Daylight is offered only where something has made it available.
    const bool daylight = m_working.m_daylightAvailable == 1;
    m_outdoor->setEnabled(daylight);
    m_addDaylight->setEnabled(daylight);
    m_artificialOff->setEnabled(daylight);
    if (!daylight) {
        m_working.m_addDaylight = 0;
        m_working.m_artificialOff = 0;
    }
    m_outdoor->setText(QString::fromStdString(kzev::formatC("%1.0lf", m_working.m_outdoorIlluminance)));
    m_addDaylight->setChecked(m_working.m_addDaylight == 1);
    m_artificialOff->setChecked(m_working.m_artificialOff == 1);
    for (std::size_t i = 0; i < m_colours.size(); ++i)
        kzev::setColourFace(m_colours[i], m_working.m_colors[4 + i]);
    m_filling = false;
}

void CViewDataProperties::takeLimit(std::size_t quantity)
{
    QLineEdit* edit = m_limits[quantity];
    if (m_filling || !edit->isModified())
        return;
    edit->setModified(false);
    const std::string typed = edit->text().toStdString();
    if (const std::optional<double> limit = kzev::readTypedNumber(typed, kNonNegative)) {
        *limitField(quantity) = *limit;
        repaintView();
        return;
    }
    refuse(edit, typed);
    edit->setText(QString::fromStdString(kzev::formatLimit(kLimitKinds[quantity], *limitField(quantity))));
}

void CViewDataProperties::takeValues(std::size_t quantity)
{
    QLineEdit* edit = m_values[quantity];
    const kzev::IsoListReading reading = kzev::readIsoList(edit->text().toStdString());
    *valuesField(quantity) = reading.values;
    repaintView();
    if (reading.notNumbers.empty())
        return;
    // What is no number is not drawn: the field shows the list that stays.
    std::string typed;
    for (const std::string& field : reading.notNumbers)
        typed += (typed.empty() ? "" : " ") + field;
    edit->setText(QString::fromStdString(kzev::joinIsoList(reading.values)));
    edit->setCursorPosition(0);
    refuse(edit, typed);
}

bool CViewDataProperties::readOutdoor()
{
    const std::string typed = m_outdoor->text().toStdString();
    if (const std::optional<double> outdoor = kzev::readTypedNumber(typed, kNonNegative)) {
        m_working.m_outdoorIlluminance = *outdoor;
        return true;
    }
    refuse(m_outdoor, typed);
    m_outdoor->setText(QString::fromStdString(kzev::formatC("%1.0lf", m_working.m_outdoorIlluminance)));
    return false;
}

void CViewDataProperties::refuse(QLineEdit* edit, const std::string& typed)
{
    kzev::services().messageBox->show(kzev::formatC(kzev::loadString(kBadNumberId).c_str(), typed.c_str()),
        kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
    edit->setFocus(Qt::OtherFocusReason);
}

void CViewDataProperties::OnKillActive()
{
    if (m_room < 0)
        return;
    readOutdoor();
    repaintView();
}

void CViewDataProperties::OnColour(std::size_t index)
{
    std::uint32_t& colour = m_working.m_colors[4 + index];
    const QColor chosen = QColorDialog::getColor(kzev::toQColor(colour), this, m_colours[index]->text());
    if (!chosen.isValid())
        return;
    colour = kzev::toColorRef(chosen);
    kzev::setColourFace(m_colours[index], colour);
    repaintView();
}
