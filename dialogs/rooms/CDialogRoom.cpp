#include "dialogs/rooms/CDialogRoom.h"

#include "catalogue/ui/CStandardDialog.h"
#include "dialogs/obstacles/CWallRowDialog.h"
#include "dialogs/obstacles/WallRowPoints.h"
#include "dialogs/rooms/RoomPages.h"
#include "model/WallRow.h"
#include "view/CKzevView.h"
#include "model/CKzevDoc.h"
#include "platform/Services.h"
#include "platform/StringTable.h"

#include <QDialogButtonBox>
#include <algorithm>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CDialogRoom::CDialogRoom(CKzevDoc& doc, int room, QWidget* parent)
    : QDialog(parent)
    , m_doc(doc)
    , m_sheet(doc, room)
{
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_dimensions = new CRoomDimesions(m_tabs);
    m_reflectances = new CRoomReflectances(m_tabs);
    m_maintenance = new CRoomMaintenance(m_tabs);
    m_tabs->addTab(m_dimensions, QStringLiteral("Základní rozměry"));
    m_tabs->addTab(m_reflectances, QStringLiteral("Odraznosti povrchů"));
    m_tabs->addTab(m_maintenance, QStringLiteral("Údržba"));
    layout->addWidget(m_tabs);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setText(QStringLiteral("OK"));
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setText(QString::fromStdString(kzev::loadString(61458)));
    connect(m_dimensions->irregularButton(), &QPushButton::clicked, this, &CDialogRoom::onIrregularOutline);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDialogRoom::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDialogRoom::reject);
    layout->addWidget(buttons);
    connect(m_dimensions, &CRoomDimesions::standardRequested, this, &CDialogRoom::OnStandard);
    m_maintenance->setChangeHandler([this] { showMaintenanceFigures(); });
}

void CDialogRoom::showMaintenanceFigures()
{
    m_maintenance->read(m_sheet.values);
    m_maintenance->showFigures(m_sheet.maintenancePreview());
}

void CDialogRoom::OnStandard()
{
    m_dimensions->read(m_sheet.values);
    CStandardDialog dialog(m_doc, this);
    dialog.m_workbook = m_sheet.requirementWorkbook();
    if (dialog.DoModal() != QDialog::Accepted)
        return;
    m_sheet.chooseRequirement(dialog.result());
    m_dimensions->setRequirement(dialog.result().name);
}

bool CDialogRoom::OnInitDialog()
{
    if (!m_sheet.valid())
        return false;
    setWindowTitle(m_road == 1 ? QStringLiteral("Vlastnosti vozovky") : QStringLiteral("Vlastnosti místnosti"));
    const kzev::RoomSheetValues& values = m_sheet.values;
    m_dimensions->fill(values);
    m_dimensions->attachCad(m_doc);
    m_reflectances->fill(values, m_sheet.outdoor());
    m_maintenance->fill(values);
    showMaintenanceFigures();
    const CRoom& room = m_doc.m_rooms[static_cast<std::size_t>(m_sheet.roomIndex())];
    m_tabs->setCurrentIndex(std::clamp(room.m_activePage, 0, m_tabs->count() - 1));
    if (m_doc.m_lxRoomDialog > 0 && m_doc.m_lyRoomDialog > 0)
        move(m_doc.m_lxRoomDialog, m_doc.m_lyRoomDialog);
    return true;
}

int CDialogRoom::DoModal()
{
    if (!OnInitDialog())
        return QDialog::Rejected;
    return exec();
}

void CDialogRoom::accept()
{
    m_dimensions->read(m_sheet.values);
    m_reflectances->read(m_sheet.values);
    m_maintenance->read(m_sheet.values);
    const kzev::RoomSheet::Result result = m_sheet.ok([] {
        return kzev::services().messageBox->show("Změněna výška místnosti. Upravit výšku svítidel ?",
                   kzev::MessageIcon::Question, kzev::MessageButtons::YesNo)
            == kzev::MessageAnswer::Yes;
    });
    if (result != kzev::RoomSheet::Result::Accepted) {
        // The sheet stays open with what was typed; the room keeps its values.
        kzev::services().messageBox->show(
            kzev::RoomSheet::message(result), kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
        return;
    }
    QDialog::accept();
}

void CDialogRoom::done(int result)
{
    // However the sheet closes, it remembers where it stood and which page was open.
    if (m_sheet.valid()) {
        m_doc.m_lxRoomDialog = x();
        m_doc.m_lyRoomDialog = y();
        m_doc.m_rooms[static_cast<std::size_t>(m_sheet.roomIndex())].m_activePage = m_tabs->currentIndex();
    }
    QDialog::done(result);
}

void CDialogRoom::onIrregularOutline()
{
    if (!m_sheet.valid())
        return;
    const int index = m_sheet.roomIndex();
    const double shown = m_doc.m_unitMm == 1 ? 1000.0 : 1.0;
    CWallRowDialog dialog(m_doc, this);
    {
        const CRoom& room = m_doc.m_rooms[static_cast<std::size_t>(index)];
        dialog.m_thickness = 1.0;
        dialog.m_height = room.m_height * shown;
        dialog.m_reference = room.m_origin;
        dialog.m_absolute = 1;
    }
    dialog.setWindowIcon(windowIcon());
    if (dialog.DoModal() == QDialog::Accepted) {
        const double height = dialog.m_height / shown;
        const double thickness = dialog.m_thickness / shown;
        CRoom& room = m_doc.m_rooms[static_cast<std::size_t>(index)];
        const int first = static_cast<int>(room.m_obstacleSystems.size());
        const std::vector<CVector> points = kzev::wallRowPoints(dialog.pointRows(), m_doc.m_unitMm);
        if (const std::string refusal = kzev::wallRowRefusal(height, thickness); !refusal.empty() && points.size() > 1) {
            kzev::services().messageBox->show(refusal, kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
        } else if (const std::optional<kzev::RoomOutline> outline
                   = kzev::buildIrregularOutline(room, points, height, thickness)) {
            // The page shows the outline's box; it reaches the room when the sheet is confirmed.
            m_dimensions->read(m_sheet.values);
            m_sheet.values.size[0] = m_sheet.lengthText(outline->length);
            m_sheet.values.size[1] = m_sheet.lengthText(outline->width);
            m_sheet.values.origin[0] = m_sheet.lengthText(outline->low.x);
            m_sheet.values.origin[1] = m_sheet.lengthText(outline->low.y);
            m_sheet.values.origin[2] = m_sheet.lengthText(outline->low.z);
            m_dimensions->fill(m_sheet.values);
            if (outline->walls > 0) {
                m_doc.SetModifiedFlag();
                if (m_obstaclesAdded)
                    m_obstaclesAdded(first, outline->walls);
            }
        }
    }
    if (CKzevView* view = kzev::theView()) {
        view->setSceneShown(true);
        view->RefreshView(0, 1);
    }
}
