#pragma once

#include "dialogs/settings/PropertyPage.h"
#include "dialogs/settings/ViewPageValues.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

class CKzevDoc;
class CViewSettings;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;

/**
 * The page "Styl zobrazení": the layers of the plan, the view direction, the
 * brightness and perspective of the visualisation, the scales of luminaire
 * curves and glare marks, the surface colours and the document's font.
 * Every control writes the sheet's working settings (or the document) as it
 * changes and redraws the view at once.
 */
class CViewProperties : public QWidget, public kzev::IPropertyPage {
    Q_OBJECT

public:
    CViewProperties(CKzevDoc& doc, CViewSettings& working, int ownerIsRoom, bool sceneShown,
        QWidget* parent = nullptr);

    void OnSetActive() override { }
    void OnKillActive() override { }

    [[nodiscard]] QSlider* brightnessSlider() const { return m_brightnessSlider; }
    [[nodiscard]] QSlider* perspectiveSlider() const { return m_perspectiveSlider; }
    [[nodiscard]] QComboBox* curveScaleBox() const { return m_curveScaleBox; }
    [[nodiscard]] QComboBox* glareSizeBox() const { return m_glareSizeBox; }
    [[nodiscard]] QPushButton* directionButton(int viewCode) const;
    [[nodiscard]] QLineEdit* fontEdit() const { return m_fontText; }

private:
    struct Switch {
        QCheckBox* box;
        std::int32_t CViewSettings::*field;
        bool rebuild;
    };

    void addSwitch(QWidget* parent, const QString& caption, std::int32_t CViewSettings::*field, bool rebuild,
        bool editing);
    /** The check box that switches the settings' field, or null when the page has none for it. */
    [[nodiscard]] QCheckBox* switchBox(std::int32_t CViewSettings::*field) const;
    void OnCurveScale(const QString& text);
    void OnGlareSize(const QString& text);
    void OnFont();
    void OnColour(kzev::SurfaceColour which);
    void showFont();

    CKzevDoc& m_doc;
    CViewSettings& m_working;
    std::vector<Switch> m_switches;
    std::vector<QCheckBox*> m_editing;
    std::vector<QPushButton*> m_directions;
    QSlider* m_brightnessSlider = nullptr;
    QSlider* m_perspectiveSlider = nullptr;
    QComboBox* m_curveScaleBox = nullptr;
    QComboBox* m_glareSizeBox = nullptr;
    QLineEdit* m_fontText = nullptr;
    std::array<QPushButton*, 4> m_colours {};
};
