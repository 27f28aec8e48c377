#include "dialogs/settings/CViewProperties.h"

#include "dialogs/settings/ColourButton.h"
#include "model/CKzevDoc.h"
#include "platform/Services.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Redraws: a rebuild of the scene, a repaint, or a turn to a new direction.
void refreshScene() { kzev::services().view->refreshView(0, 1); }
void repaintView() { kzev::services().view->refreshView(0, 0); }
void turnView() { kzev::services().view->refreshView(1, 1); }

QSlider* makeSlider(QWidget* parent, int low, int high)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(low, high);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(10);
    slider->setPageStep(10);
    slider->setSingleStep(10);
    return slider;
}

struct Direction {
    int viewCode;
    const char* caption;
    const char* tip;
};

// Top to bottom on the right edge, as the view menu's directions.
constexpr Direction kDirections[] = {
    { 113, "Strop", "Pohled na strop" },
    { 114, "Stěna 1", "Pohled ke stěně 1" },
    { 115, "Stěna 2", "Pohled ke stěně 2" },
    { 116, "Stěna 3", "Pohled ke stěně 3" },
    { 117, "Stěna 4", "Pohled ke stěně 4" },
    { 112, "Podlaha", "Pohled k podlaze" },
};

} // namespace

CViewProperties::CViewProperties(CKzevDoc& doc, CViewSettings& working, int ownerIsRoom, bool sceneShown,
    QWidget* parent)
    : QWidget(parent)
    , m_doc(doc)
    , m_working(working)
{
    setWindowTitle(QStringLiteral("Styl zobrazení"));

    auto* editing = new QGroupBox(QStringLiteral("Editační zobrazení"), this);
    auto* editingLayout = new QGridLayout(editing);
    const auto add = [&](const QString& caption, std::int32_t CViewSettings::*field, bool rebuild) {
        addSwitch(editing, caption, field, rebuild, true);
        const int n = static_cast<int>(m_switches.size()) - 1;
        editingLayout->addWidget(m_switches.back().box, n % 8, n / 8);
    };
    add(QStringLiteral("&3D zobrazení"), &CViewSettings::m_draw3D, true);
    add(QStringLiteral("&Vyplnění odrazných ploch"), &CViewSettings::m_fillSurfaces, true);
    add(QStringLiteral("&Popis odrazných ploch"), &CViewSettings::m_surfaceLabels, false);
    add(QStringLiteral("Popis ve výpočtových &bodech "), &CViewSettings::m_pointLabels, false);
    add(QStringLiteral("\"&Hory - doly\""), &CViewSettings::m_relief, false);
    add(QStringLiteral("&Izolinie"), &CViewSettings::m_isolines, false);
    add(QStringLiteral("&Značky oslnění"), &CViewSettings::m_glareMarks, false);
    add(QStringLiteral("&Místnost"), &CViewSettings::m_drawRoom, false);
    add(QStringLiteral("Výpočtové bod&y"), &CViewSettings::m_drawPoints, false);
    add(QStringLiteral("&Svítidla"), &CViewSettings::m_luminaires, false);
    add(QStringLiteral("&Popis soustavy svítidel"), &CViewSettings::m_lampSystemLabels, false);
    add(QStringLiteral("&Osy svítidel"), &CViewSettings::m_luminaireAxes, false);
    add(QStringLiteral("S&ouřadnice svítidel"), &CViewSettings::m_luminaireCoordinates, false);
    add(QStringLiteral("C&harakteristika svítidel"), &CViewSettings::m_luminaireCharacteristics, false);
    add(QStringLiteral("&Typ svítidel"), &CViewSettings::m_luminaireType, false);
    add(QStringLiteral("Překáž&ky"), &CViewSettings::m_drawObstacles, false);

    m_curveScaleBox = new QComboBox(editing);
    m_curveScaleBox->setEditable(true);
    m_curveScaleBox->setInsertPolicy(QComboBox::NoInsert);
    m_curveScaleBox->addItems({ "0.001", "0.002", "0.005", "0.01", "0.02", "0.05", "0.1", "0.2", "0.5", "1.0" });
    m_curveScaleBox->setEditText(QString::fromStdString(kzev::formatC("%1.3lf", m_working.m_intensityCurveScale)));
    m_glareSizeBox = new QComboBox(editing);
    m_glareSizeBox->setEditable(true);
    m_glareSizeBox->setInsertPolicy(QComboBox::NoInsert);
    m_glareSizeBox->addItems({ "1", "2", "3", "4", "5", "6", "7", "8" });
    m_glareSizeBox->setEditText(QString::fromStdString(kzev::formatC("%d", m_working.m_glareMarkSize)));
    auto* scales = new QGridLayout;
    scales->addWidget(new QLabel(QStringLiteral("Měřítko charakteristiky"), editing), 0, 0);
    scales->addWidget(m_curveScaleBox, 0, 1);
    scales->addWidget(new QLabel(QStringLiteral("Velikost značek oslnění"), editing), 1, 0);
    scales->addWidget(m_glareSizeBox, 1, 1);
    editingLayout->addLayout(scales, 8, 0, 1, 2);

    auto* visual = new QGroupBox(QStringLiteral("Vizualizace a tisk"), this);
    auto* visualLayout = new QGridLayout(visual);
    addSwitch(visual, QStringLiteral("Vizualizace"), &CViewSettings::m_displaySwitch, true, false);
    visualLayout->addWidget(m_switches.back().box, 0, 0, 1, 2);
    addSwitch(visual, QStringLiteral("Tisknout"), &CViewSettings::m_print, true, false);
    visualLayout->addWidget(m_switches.back().box, 1, 0, 1, 2);
    addSwitch(visual, QStringLiteral("Zobrazit všechna m. ú."), &CViewSettings::m_allAreas, true, false);
    QCheckBox* allAreas = m_switches.back().box;
    visualLayout->addWidget(allAreas, 2, 0, 1, 2);
    m_brightnessSlider = makeSlider(visual, 0, 100);
    m_brightnessSlider->setValue(static_cast<int>(std::lround(m_working.m_brightness * 100.0)));
    m_perspectiveSlider = makeSlider(visual, -100, 100);
    m_perspectiveSlider->setValue(static_cast<int>(m_working.m_perspective));
    visualLayout->addWidget(new QLabel(QStringLiteral("Jas"), visual), 3, 0);
    visualLayout->addWidget(m_brightnessSlider, 3, 1);
    visualLayout->addWidget(new QLabel(QStringLiteral("Perspektiva"), visual), 4, 0);
    visualLayout->addWidget(m_perspectiveSlider, 4, 1);

    auto* colours = new QGroupBox(QStringLiteral("Barvy a písmo"), this);
    auto* colourLayout = new QGridLayout(colours);
    const std::array<QString, 4> colourCaptions { QStringLiteral("Barva stropu"), QStringLiteral("Barva stěn"),
        QStringLiteral("Barva podlahy"), QStringLiteral("Barva překážek") };
    for (std::size_t i = 0; i < m_colours.size(); ++i) {
        m_colours[i] = new QPushButton(colourCaptions[i], colours);
        colourLayout->addWidget(m_colours[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
        kzev::setColourFace(m_colours[i], m_working.m_colors[i]);
        const auto which = static_cast<kzev::SurfaceColour>(i);
        connect(m_colours[i], &QPushButton::clicked, this, [this, which] { OnColour(which); });
    }
    m_fontText = new QLineEdit(colours);
    m_fontText->setReadOnly(true);
    auto* fontButton = new QPushButton(QStringLiteral("Styl písma"), colours);
    colourLayout->addWidget(m_fontText, 2, 0);
    colourLayout->addWidget(fontButton, 2, 1);
    connect(fontButton, &QPushButton::clicked, this, [this] { OnFont(); });

    auto* directions = new QVBoxLayout;
    for (const Direction& d : kDirections) {
        auto* button = new QPushButton(QString::fromUtf8(d.caption), this);
        button->setToolTip(QString::fromUtf8(d.tip));
        button->setProperty("viewCode", d.viewCode);
        const int code = d.viewCode;
        connect(button, &QPushButton::clicked, this, [this, code] {
            m_working.m_viewCode = code;
            turnView();
        });
        directions->addWidget(button);
        m_directions.push_back(button);
    }
    directions->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(visual);
    right->addWidget(colours);
    right->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(editing, 1);
    layout->addLayout(right);
    layout->addLayout(directions);

    // Every change counts, not only the end of a drag: a click on the track and the keys move the slider too.
    connect(m_brightnessSlider, &QSlider::valueChanged, this, [this](int value) {
        m_working.m_brightness = value * 0.01;
        refreshScene();
    });
    connect(m_perspectiveSlider, &QSlider::valueChanged, this, [this](int value) {
        m_working.m_perspective = value;
        refreshScene();
    });
    connect(m_curveScaleBox, &QComboBox::textActivated, this, [this](const QString& t) { OnCurveScale(t); });
    connect(m_curveScaleBox, &QComboBox::editTextChanged, this, [this](const QString& t) { OnCurveScale(t); });
    connect(m_glareSizeBox, &QComboBox::textActivated, this, [this](const QString& t) { OnGlareSize(t); });
    connect(m_glareSizeBox, &QComboBox::editTextChanged, this, [this](const QString& t) { OnGlareSize(t); });

    showFont();
    for (const Switch& s : m_switches) {
        const QSignalBlocker quiet(s.box);
        s.box->setChecked(m_working.*s.field == 1);
    }
    if (ownerIsRoom == 1) {
        // These belong to the visual-task areas: shown cleared for the room, its settings keep them.
        for (const auto field : { &CViewSettings::m_pointLabels, &CViewSettings::m_relief, &CViewSettings::m_isolines,
                 &CViewSettings::m_drawPoints, &CViewSettings::m_glareMarks }) {
            QCheckBox* box = switchBox(field);
            const QSignalBlocker quiet(box);
            box->setChecked(false);
            box->setEnabled(false);
        }
        allAreas->setEnabled(true);
    } else {
        allAreas->setEnabled(false);
    }
    if (!sceneShown) {
        for (QCheckBox* box : m_editing)
            box->setEnabled(false);
        m_brightnessSlider->setEnabled(false);
        m_perspectiveSlider->setEnabled(false);
        for (QPushButton* button : m_directions)
            button->setEnabled(false);
    }
}

void CViewProperties::addSwitch(
    QWidget* parent, const QString& caption, std::int32_t CViewSettings::*field, bool rebuild, bool editing)
{
    auto* box = new QCheckBox(caption, parent);
    m_switches.push_back({ box, field, rebuild });
    if (editing)
        m_editing.push_back(box);
    connect(box, &QCheckBox::toggled, this, [this, field, rebuild](bool on) {
        m_working.*field = on ? 1 : 0;
        if (rebuild)
            refreshScene();
        else
            repaintView();
    });
}

QCheckBox* CViewProperties::switchBox(std::int32_t CViewSettings::*field) const
{
    for (const Switch& s : m_switches) {
        if (s.field == field)
            return s.box;
    }
    return nullptr;
}

QPushButton* CViewProperties::directionButton(int viewCode) const
{
    for (QPushButton* button : m_directions) {
        if (button->property("viewCode").toInt() == viewCode)
            return button;
    }
    return nullptr;
}

void CViewProperties::OnCurveScale(const QString& text)
{
    m_working.m_intensityCurveScale = kzev::typedNumberOr(text.toStdString(), m_working.m_intensityCurveScale, { 0.0, 1.0e6 });
    repaintView();
}

void CViewProperties::OnGlareSize(const QString& text)
{
    m_working.m_glareMarkSize = static_cast<std::int32_t>(
        kzev::readTypedWhole(text.toStdString(), 0, 10000).value_or(m_working.m_glareMarkSize));
    repaintView();
}

void CViewProperties::showFont()
{
    // The size in points of the font's height on a screen of 96 dots per inch.
    const int height = m_doc.m_logFont.height;
    const long points = height < 0 ? std::lround(-height * 72.0 / 96.0) : m_doc.m_fontHeight;
    m_fontText->setText(QString::fromStdString(kzev::formatC("%s, %ld", m_doc.m_baseFont.c_str(), points)));
}

void CViewProperties::OnFont()
{
    QFont current(QString::fromStdString(m_doc.m_baseFont), m_doc.m_fontHeight > 0 ? m_doc.m_fontHeight : 9);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, current, this, QStringLiteral("Styl písma"));
    if (!ok)
        return;
    const int points = chosen.pointSize() > 0 ? chosen.pointSize() : m_doc.m_fontHeight;
    m_doc.m_baseFont = chosen.family().toStdString();
    m_doc.m_fontHeight = points;
    m_doc.m_logFont = kzev::LogFont::pointFont(points * 10, m_doc.m_baseFont);
    showFont();
    refreshScene();
}

void CViewProperties::OnColour(kzev::SurfaceColour which)
{
    const auto slot = static_cast<std::size_t>(which);
    const QColor chosen = QColorDialog::getColor(kzev::toQColor(m_working.m_colors[slot]), this,
        m_colours[slot]->text());
    if (!chosen.isValid())
        return;
    const std::uint32_t colour = kzev::toColorRef(chosen);
    m_working.m_colors[slot] = colour;
    kzev::setColourFace(m_colours[slot], colour);
    const std::optional<int> room = kzev::services().view->selectedRoom();
    if (room && *room >= 0 && static_cast<std::size_t>(*room) < m_doc.m_rooms.size())
        kzev::pushSurfaceColour(m_doc.m_rooms[static_cast<std::size_t>(*room)], which, colour);
    refreshScene();
}
