#pragma once

#include "dialogs/rooms/RoomSheet.h"

#include <QDialog>

#include <functional>

class CKzevDoc;
class CRoomDimesions;
class CRoomMaintenance;
class CRoomReflectances;
class QTabWidget;

/**
 * The modal room property sheet ("Vlastnosti místnosti"): the pages
 * "Základní rozměry", "Odraznosti povrchů" and "Údržba" of one room. OK
 * writes the pages into the room once every field has passed; a refused
 * value keeps the sheet open with the room untouched.
 */
class CDialogRoom : public QDialog {
    Q_OBJECT

public:
    CDialogRoom(CKzevDoc& doc, int room, QWidget* parent = nullptr);

    /** 1 when the sheet edits the room of a road. */
    int m_road = 0;

    /** Fills the pages and shows the room's last page; false when the room does not exist. */
    bool OnInitDialog();
    /** Runs the sheet; QDialog::Accepted after an accepted OK. */
    int DoModal();

    [[nodiscard]] kzev::RoomSheet& sheet() { return m_sheet; }
    /** Called with the first index and the number of obstacle systems that "Nepravidel" appended. */
    void setObstaclesAddedHandler(std::function<void(int first, int count)> handler)
    {
        m_obstaclesAdded = std::move(handler);
    }

    /** "Norma": picks a requirement of the standard, which OK then puts into the room. */
    void OnStandard();

protected:
    void accept() override;
    void done(int result) override;

private:
    /** "Nepravidel": walls along an outline typed as points; the room's rectangle becomes their box. */
    void onIrregularOutline();
    /** The maintenance page shows the figures its values give the calculation. */
    void showMaintenanceFigures();

    CKzevDoc& m_doc;
    std::function<void(int, int)> m_obstaclesAdded;
    kzev::RoomSheet m_sheet;
    QTabWidget* m_tabs = nullptr;
    CRoomDimesions* m_dimensions = nullptr;
    CRoomReflectances* m_reflectances = nullptr;
    CRoomMaintenance* m_maintenance = nullptr;
};
