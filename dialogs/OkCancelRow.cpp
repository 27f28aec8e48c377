#include "dialogs/OkCancelRow.h"

#include <QBoxLayout>
#include <QPushButton>

namespace kzev {

OkCancelRow addOkCancelRow(QWidget& dialog, QBoxLayout& layout)
{
    OkCancelRow made;
    made.row = new QHBoxLayout;
    made.ok = new QPushButton(QStringLiteral("OK"), &dialog);
    made.ok->setObjectName(QStringLiteral("ok"));
    made.ok->setDefault(true);
    made.cancel = new QPushButton(QStringLiteral("Storno"), &dialog);
    made.cancel->setObjectName(QStringLiteral("cancel"));
    made.row->addStretch(1);
    made.row->addWidget(made.ok);
    made.row->addWidget(made.cancel);
    layout.addLayout(made.row);
    return made;
}

} // namespace kzev
