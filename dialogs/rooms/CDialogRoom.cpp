#include "dialogs/rooms/CDialogRoom.h"

#include "dialogs/rooms/RoomPages.h"
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
    connect(buttons, &QDialogButtonBox::accepted, this, &CDialogRoom::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDialogRoom::reject);
    layout->addWidget(buttons);
}

bool CDialogRoom::OnInitDialog()
{
    if (!m_sheet.valid())
        return false;
    setWindowTitle(m_road == 1 ? QStringLiteral("Vlastnosti vozovky") : QStringLiteral("Vlastnosti místnosti"));
    const kzev::RoomSheetValues& values = m_sheet.values;
    m_dimensions->fill(values);
    m_reflectances->fill(values, m_sheet.outdoor());
    m_maintenance->fill(values);
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
