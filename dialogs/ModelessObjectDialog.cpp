#include "dialogs/ModelessObjectDialog.h"

#include "view/CKzevView.h"

namespace kzev {

ModelessObjectDialog::ModelessObjectDialog(QWidget* parent)
    : QDialog(parent)
{
    setModal(false);
}

ModelessObjectDialog::~ModelessObjectDialog()
{
    if (!m_finished) {
        if (CKzevView* view = theView())
            view->plan().setEditedObjects(nullptr, nullptr, nullptr);
    }
    unlinkView();
}

void ModelessObjectDialog::unlinkView()
{
    if (CKzevView* view = theView(); view && view->editLink() == this)
        view->setEditLink(nullptr);
}

void ModelessObjectDialog::finish(bool written, int recalculate, std::int32_t& left, std::int32_t& top)
{
    if (m_finished)
        return;
    m_finished = true;
    unlinkView();
    if (CKzevView* view = theView()) {
        view->plan().setEditedObjects(nullptr, nullptr, nullptr);
        view->RefreshView(0, recalculate);
    }
    left = pos().x();
    top = pos().y();
    hide();
    if (m_closed)
        m_closed(written);
    deleteLater();
}

} // namespace kzev
