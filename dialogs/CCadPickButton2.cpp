#include "dialogs/CCadPickButton2.h"

#include "dialogs/CCadPickButton.h"
#include "model/CKzevDoc.h"

CCadPickButton2::CCadPickButton2(QWidget* parent)
    : QPushButton(parent)
{
    setAutoDefault(false);
    setToolTip(QStringLiteral("Odměřit ve výkresu CAD"));
}

bool CCadPickButton2::attach(CKzevDoc& doc)
{
    if (doc.DetectCadApplication() != 1) {
        hide();
        return false;
    }
    setIcon(cadButtonIcon(doc.m_cadIconId & 0xFFFF));
    setIconSize(QSize(16, 16));
    kzev::prepareDistancePicker(m_picker, doc);
    show();
    return true;
}
