#include "catalogue/ui/CPictureDialog.h"

#include "catalogue/ui/PictureDrawing.h"

#include <QPainter>

CPictureDialog::CPictureDialog(const std::string& path, QWidget* parent)
    : QDialog(parent)
    , m_path(path)
    , m_image(kzev::readLuminairePicture(path))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Zobrazení svítidla"));
    resize(480, 480);
}

void CPictureDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    kzev::drawPictureFitted(painter, m_image, rect());
}
