#include "app/CAboutDlg.h"

#include "platform/StringTable.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QString text(int id)
{
    return QString::fromStdString(kzev::loadString(id));
}

QLineEdit* field(const QString& value, const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(value, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setFrame(false);
    edit->setCursorPosition(0);
    return edit;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(text(63103));

    auto* picture = new QLabel(this);
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    picture->setAlignment(Qt::AlignTop);

    auto* fields = new QVBoxLayout;
    fields->addWidget(field(text(61735), "Field10643", this));
    fields->addWidget(field(text(61736), "Field10633", this));
    fields->addWidget(
        field(text(61907) + QStringLiteral(", ") + text(61908) + QStringLiteral(", ") + text(61909), "Field10651", this));
    fields->addWidget(field(text(61934) + QStringLiteral(", ") + text(61936), "Field10665", this));
    const QString address = text(61894);
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped()), this);
    link->setObjectName(QStringLiteral("Link1137"));
    link->setOpenExternalLinks(true);
    fields->addWidget(link);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(fields, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(440);
}
