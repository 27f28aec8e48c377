#pragma once

#include "dialogs/settings/PropertyPage.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CKzevDoc;
class CViewSettings;
class QCheckBox;
class QLineEdit;
class QPushButton;

/**
 * The page "Zobrazované hodnoty": which results of the visual-task areas the
 * view shows, the limit and the isoline values of each quantity, the three
 * isoline colours and the daylight options. Every change goes into the
 * sheet's working settings at once (the luminances on surfaces into the
 * room) and repaints the view.
 */
class CViewDataProperties : public QWidget, public kzev::IPropertyPage {
    Q_OBJECT

public:
    CViewDataProperties(CKzevDoc& doc, CViewSettings& working, QWidget* parent = nullptr);

    void OnSetActive() override;
    void OnKillActive() override;

    /** The show switches in the order illuminance, UGR, GR, road luminance. */
    [[nodiscard]] QCheckBox* showBox(int quantity) const { return m_show[static_cast<std::size_t>(quantity)]; }
    [[nodiscard]] QLineEdit* limitEdit(int quantity) const { return m_limits[static_cast<std::size_t>(quantity)]; }
    [[nodiscard]] QLineEdit* valuesEdit(int quantity) const { return m_values[static_cast<std::size_t>(quantity)]; }
    [[nodiscard]] QCheckBox* surfaceLuminanceBox() const { return m_surfaceLuminance; }
    [[nodiscard]] QLineEdit* outdoorEdit() const { return m_outdoor; }

private:
    [[nodiscard]] std::int32_t* showField(std::size_t quantity) const;
    [[nodiscard]] double* limitField(std::size_t quantity) const;
    [[nodiscard]] std::vector<std::string>* valuesField(std::size_t quantity) const;
    /** Takes the typed outdoor illuminance; refuses a text that is no number with a message and shows the value again. */
    bool readOutdoor();
    /** Takes the typed limit of the quantity, or refuses it so. */
    void takeLimit(std::size_t quantity);
    /** Takes the typed isoline values of the quantity; the fields that are no number are named and left out. */
    void takeValues(std::size_t quantity);
    /** Tells why the typed text was refused and goes back to its field. */
    void refuse(QLineEdit* edit, const std::string& typed);
    void OnColour(std::size_t index);

    CKzevDoc& m_doc;
    CViewSettings& m_working;
    int m_room = -1;
    std::array<QCheckBox*, 4> m_show {};
    std::array<QLineEdit*, 4> m_limits {};
    std::array<QLineEdit*, 4> m_values {};
    std::array<QPushButton*, 3> m_colours {};
    QCheckBox* m_surfaceLuminance;
    QLineEdit* m_outdoor;
    QCheckBox* m_addDaylight;
    QCheckBox* m_artificialOff;
    bool m_filling = false;
};
