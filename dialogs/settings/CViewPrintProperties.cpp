#include "dialogs/settings/CViewPrintProperties.h"

#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "platform/Services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

QComboBox* editableCombo(QWidget* parent, const QStringList& items)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    return combo;
}

QStringList marginItems()
{
    QStringList items;
    for (int mm = 0; mm <= 40; mm += 5)
        items << QString::number(mm);
    return items;
}

constexpr const char* kContentCaptions[] = { "Záhlaví", "Úvodní stránka", "Obsah", "Základní údaje o místnosti",
    "Odraznosti místnosti", "Udržovací činitel", "Místa zrakového úkolu", "Soustavy svítidel",
    "Svítidla a světelné zdroje", "Překážky", "Tabulky bodové metody", "Výsledky bodové metody",
    "Grafické vyjádření", "Barevný tisk" };

} // namespace

CViewPrintProperties::CViewPrintProperties(CKzevDoc& doc, QWidget* parent)
    : QWidget(parent)
    , m_doc(doc)
    , m_company(new QLineEdit(this))
    , m_designer(new QLineEdit(this))
    , m_unitMm(new QCheckBox(QStringLiteral("Délkové rozměry v milimetrech"), this))
    , m_top(editableCombo(this, marginItems()))
    , m_left(editableCombo(this, marginItems()))
    , m_bottom(editableCombo(this, marginItems()))
    , m_right(editableCombo(this, marginItems()))
    , m_printScale(editableCombo(this,
          { qs(kzev::maximalScaleText()), "10", "20", "50", "100", "200", "500", "1000" }))
    , m_dxfScale(editableCombo(this, { "10", "20", "50", "100", "200", "500", "1000" }))
    , m_blockPrefix(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Tisk a export"));

    auto* general = new QGroupBox(QStringLiteral("Zpracovatel a jednotky"), this);
    auto* g = new QGridLayout(general);
    auto addRow = [](QGridLayout* grid, int row, const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, field->parentWidget());
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    addRow(g, 0, QStringLiteral("Zpracovatelská &firma"), m_company);
    addRow(g, 1, QStringLiteral("Projektant"), m_designer);
    g->addWidget(m_unitMm, 2, 0, 1, 2);
    m_company->setMinimumWidth(260);

    auto* page = new QGroupBox(QStringLiteral("Stránka a měřítka"), this);
    auto* p = new QGridLayout(page);
    addRow(p, 0, QStringLiteral("Odsazení &shora [mm]"), m_top);
    addRow(p, 1, QStringLiteral("Odsazení &zleva [mm]"), m_left);
    addRow(p, 2, QStringLiteral("Odsazení &zdola [mm]"), m_bottom);
    addRow(p, 3, QStringLiteral("Odsazení &zprava [mm]"), m_right);
    addRow(p, 4, QStringLiteral("Měřítko tisku 1:"), m_printScale);
    addRow(p, 5, QStringLiteral("&Měřítko DXF 1:"), m_dxfScale);
    addRow(p, 6, QStringLiteral("Prefix bloku DAD"), m_blockPrefix);

    auto* content = new QGroupBox(QStringLiteral("Obsah tisku"), this);
    auto* c = new QGridLayout(content);
    for (std::size_t i = 0; i < m_content.size(); ++i) {
        m_content[i] = new QCheckBox(QString::fromUtf8(kContentCaptions[i]), content);
        c->addWidget(m_content[i], static_cast<int>(i % 7), static_cast<int>(i / 7));
    }

    auto* left = new QVBoxLayout;
    left->addWidget(general);
    left->addWidget(page);
    left->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    auto* right = new QVBoxLayout;
    right->addWidget(content);
    right->addStretch(1);
    layout->addLayout(right);
}

CRoom* CViewPrintProperties::room() const
{
    const std::optional<int> selected = kzev::services().view->selectedRoom();
    if (!selected || *selected < 0 || static_cast<std::size_t>(*selected) >= m_doc.m_rooms.size())
        return nullptr;
    return &m_doc.m_rooms[static_cast<std::size_t>(*selected)];
}

void CViewPrintProperties::OnSetActive()
{
    const kzev::ViewPrintValues v = kzev::fillViewPrint(m_doc, room());
    m_company->setText(qs(v.company));
    m_designer->setText(qs(v.designer));
    m_unitMm->setChecked(v.unitMm == 1);
    m_top->setEditText(qs(v.topMargin));
    m_left->setEditText(qs(v.leftMargin));
    m_bottom->setEditText(qs(v.bottomMargin));
    m_right->setEditText(qs(v.rightMargin));
    m_printScale->setEditText(qs(v.printScale));
    m_dxfScale->setEditText(qs(v.dxfScale));
    m_blockPrefix->setText(qs(v.blockPrefix));
    for (std::size_t i = 0; i < m_content.size(); ++i)
        m_content[i]->setChecked(v.content[i] == 1);
}

kzev::ViewPrintValues CViewPrintProperties::values() const
{
    kzev::ViewPrintValues v;
    v.company = m_company->text().toStdString();
    v.designer = m_designer->text().toStdString();
    v.unitMm = m_unitMm->isChecked() ? 1 : 0;
    v.topMargin = m_top->currentText().toStdString();
    v.leftMargin = m_left->currentText().toStdString();
    v.bottomMargin = m_bottom->currentText().toStdString();
    v.rightMargin = m_right->currentText().toStdString();
    v.printScale = m_printScale->currentText().toStdString();
    v.dxfScale = m_dxfScale->currentText().toStdString();
    v.blockPrefix = m_blockPrefix->text().toStdString();
    for (std::size_t i = 0; i < m_content.size(); ++i)
        v.content[i] = m_content[i]->isChecked() ? 1 : 0;
    return v;
}

void CViewPrintProperties::OnKillActive()
{
    kzev::storeViewPrint(m_doc, room(), values(), kzev::profileStore());
}
