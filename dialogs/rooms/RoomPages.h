#pragma once

#include "dialogs/rooms/RoomSheet.h"

#include <QWidget>

#include <functional>

#include <array>

class CCadPickButton;
class CCadPickButton2;
class CKzevDoc;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

/** "Základní rozměry": name, number, requirement, dimensions and origin of the room. */
class CRoomDimesions : public QWidget {
    Q_OBJECT
public:
    explicit CRoomDimesions(QWidget* parent = nullptr);
    void fill(const kzev::RoomSheetValues& values);
    void read(kzev::RoomSheetValues& values) const;
    /** "Nepravidel": the room's outline as a row of walls. */
    [[nodiscard]] QPushButton* irregularButton() const { return m_irregular; }
    /** Shows the name of the requirement chosen with "Norma". */
    void setRequirement(const std::string& name);
    /** Offers the pick buttons when a CAD program runs; they stay hidden otherwise. */
    void attachCad(CKzevDoc& doc);
    /** The distance buttons of length, width and height, and the two-corner button. */
    [[nodiscard]] CCadPickButton2* distanceButton(int size) const { return m_pickSize.at(static_cast<std::size_t>(size)); }
    [[nodiscard]] CCadPickButton* cornersButton() const { return m_pickCorners; }

signals:
    /** "Norma" was clicked. */
    void standardRequested();

private:
    /** Measures one distance in the CAD drawing into the length, width or height. */
    void pickDistance(std::size_t size);
    /** Two corners picked in the CAD drawing give the length, the width and the origin. */
    void pickCorners();
    /** A value taken from the drawing, in the user's unit as it stands. */
    [[nodiscard]] QString pickedText(double value) const;
    void rememberDrawing(const std::string& name);

    CKzevDoc* m_doc = nullptr;
    std::array<CCadPickButton2*, 3> m_pickSize {};
    CCadPickButton* m_pickCorners = nullptr;
    QPushButton* m_irregular = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_number = nullptr;
    QLineEdit* m_requirement = nullptr;
    std::array<QLineEdit*, 3> m_size {};
    std::array<QLineEdit*, 3> m_origin {};
};

/** "Odraznosti povrchů": the six reflectance combos, with outdoor labels in outdoor projects. */
class CRoomReflectances : public QWidget {
    Q_OBJECT
public:
    explicit CRoomReflectances(QWidget* parent = nullptr);
    void fill(const kzev::RoomSheetValues& values, bool outdoor);
    void read(kzev::RoomSheetValues& values) const;

private:
    std::array<QComboBox*, 6> m_combos {};
    QLabel* m_ceiling = nullptr;
    QLabel* m_walls = nullptr;
    QLabel* m_floor = nullptr;
};

/** "Údržba": the data from which the room's maintenance factor is taken, or the factor itself. */
class CRoomMaintenance : public QWidget {
    Q_OBJECT
public:
    explicit CRoomMaintenance(QWidget* parent = nullptr);
    void fill(const kzev::RoomSheetValues& values);
    void read(kzev::RoomSheetValues& values) const;
    /** Enables the controls that the chosen way of taking the factor uses. */
    void updateEnabling();
    /** Called whenever a value of the page changes, so that the figures follow. */
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }
    /** Shows the maintenance factors and the reflectance reduction the calculation will take. */
    void showFigures(const kzev::RoomMaintenanceFigures& figures);

private:
    void changed();

    std::function<void()> m_changed;
    bool m_filling = false;
    QLabel* m_figures = nullptr;
    QLineEdit* m_replacementInterval = nullptr;
    QComboBox* m_cleaningInterval = nullptr;
    QComboBox* m_renewalInterval = nullptr;
    QLineEdit* m_reliability = nullptr;
    QLineEdit* m_factor = nullptr;
    QLineEdit* m_reduction = nullptr;
    QButtonGroup* m_factorMode = nullptr;
    QButtonGroup* m_replacement = nullptr;
    QButtonGroup* m_cleanliness = nullptr;
};
