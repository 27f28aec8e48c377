// The selection page's window: its controls, their layout and wiring, the
// picture area and the enlarging of the luminaire list.

#include "catalogue/ui/CLampSelectDialog.h"

#include "catalogue/IntensityCurve.h"
#include "catalogue/ui/CPictureButton.h"
#include "catalogue/ui/CPictureDialog.h"
#include "catalogue/ui/PictureDrawing.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "platform/StringTable.h"
#include "platform/qt/QtPainterSurface.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kGridColumns = 7;

template <typename T>
T* named(T* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

QTreeWidget* makeTree(QWidget* parent, int id)
{
    auto* tree = named(new QTreeWidget(parent), id);
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setMinimumWidth(250);
    // Long maker names scroll sideways rather than being cut.
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree->header()->setStretchLastSection(false);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    return tree;
}

kzev::GridWidget* makeGrid(QWidget* parent, int id)
{
    auto* grid = named(new kzev::GridWidget(parent), id);
    grid->grid().SetControlId(id);
    grid->grid().SetEditable(false);
    grid->grid().SetListMode(true);
    grid->grid().SetSingleRowSelection(true);
    return grid;
}

} // namespace

CLampSelectDialog::CLampSelectDialog(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Výběr svítidla a světelného zdroje"));
    buildControls();
}

CLampSelectDialog::~CLampSelectDialog() = default;

void CLampSelectDialog::buildControls()
{
    m_luminaireLabel = new QLabel(QStringLiteral("&Svítidlo"), this);
    m_lampLabel = new QLabel(QStringLiteral("Světelný &zdroj"), this);
    m_luminaireTree = makeTree(this, kLuminaireTreeId);
    m_lampTree = makeTree(this, kLampTreeId);
    m_luminaireGrid = makeGrid(this, kLuminaireGridId);
    m_lampGrid = makeGrid(this, kLampGridId);
    m_luminaireLabel->setBuddy(m_luminaireTree);
    m_lampLabel->setBuddy(m_lampTree);
    m_filter = named(new QLineEdit(this), kFilterEditId);
    m_filter->setPlaceholderText(QStringLiteral("Typ nebo název"));
    m_filter->installEventFilter(this);
    m_filterButton = named(new QPushButton(QStringLiteral("Filtrovat"), this), kFilterButtonId);
    m_search = named(new QPushButton(QStringLiteral("Hledat"), this), kSearchButtonId);
    m_enlargeList = named(new QPushButton(this), kEnlargeListId);
    m_enlargeList->setIcon(style()->standardIcon(QStyle::SP_TitleBarMaxButton));
    m_enlargeList->setToolTip(QStringLiteral("Zvětšit seznam svítidel"));
    m_lampFilter = named(new QCheckBox(QStringLiteral("Filtrovat zdroje"), this), kLampFilterCheckId);
    auto* fluxLabel = named(new QLabel(QStringLiteral("Sv.tok"), this), 1143);
    m_flux = named(new QLineEdit(this), kFluxEditId);
    m_flux->setMaximumWidth(90);
    fluxLabel->setBuddy(m_flux);
    auto* lumenLabel = named(new QLabel(QStringLiteral("lm"), this), 1144);
    m_ownFlux = named(new QCheckBox(QStringLiteral("Tok zadat"), this), kOwnFluxCheckId);
    m_used = named(new QPushButton(QStringLiteral("Použitá"), this), kUsedButtonId);
    m_picture = new CPictureButton(this);
    m_picture->setDrawer([this](QPainter& painter, const QRect& rect) { drawPicture(painter, rect); });
    m_toggleCurve = named(new QPushButton(this), kToggleCurveId);
    m_toggleCurve->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    m_toggleCurve->setToolTip(QStringLiteral("Křivka svítivosti / fotografie"));
    m_enlargePicture = named(new QPushButton(this), kEnlargePictureId);
    m_enlargePicture->setIcon(style()->standardIcon(QStyle::SP_TitleBarMaxButton));
    m_enlargePicture->setToolTip(QStringLiteral("Zvětšit fotografii"));
    for (QPushButton* button : { m_filterButton, m_search, m_enlargeList, m_used, m_toggleCurve, m_enlargePicture })
        button->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(m_filter, 1);
    filterRow->addWidget(m_filterButton);
    filterRow->addWidget(m_search);
    filterRow->addWidget(m_enlargeList);
    layout->addWidget(m_luminaireLabel, 0, 0);
    layout->addLayout(filterRow, 0, 1);
    layout->addWidget(m_luminaireTree, 1, 0);
    layout->addWidget(m_luminaireGrid, 1, 1);
    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(m_picture, 1);
    auto* pictureButtons = new QHBoxLayout;
    pictureButtons->addStretch(1);
    pictureButtons->addWidget(m_toggleCurve);
    pictureButtons->addWidget(m_enlargePicture);
    pictureColumn->addLayout(pictureButtons);
    layout->addLayout(pictureColumn, 1, 2);
    auto* lampRow = new QHBoxLayout;
    lampRow->addWidget(m_lampFilter);
    lampRow->addStretch(1);
    lampRow->addWidget(fluxLabel);
    lampRow->addWidget(m_flux);
    lampRow->addWidget(lumenLabel);
    lampRow->addWidget(m_ownFlux);
    lampRow->addSpacing(12);
    lampRow->addWidget(m_used);
    layout->addWidget(m_lampLabel, 2, 0);
    layout->addLayout(lampRow, 2, 1, 1, 2);
    layout->addWidget(m_lampTree, 3, 0);
    layout->addWidget(m_lampGrid, 3, 1, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 3);
    layout->setRowStretch(3, 2);

    m_hiddenWhenEnlarged = { m_luminaireTree, m_lampTree, m_lampGrid, m_picture, m_filterButton, m_filter,
        m_lampFilter, m_enlargeList, m_luminaireLabel, m_lampLabel, fluxLabel, lumenLabel, m_ownFlux, m_flux, m_used,
        m_search, m_toggleCurve, m_enlargePicture };

    connect(m_luminaireTree, &QTreeWidget::itemSelectionChanged, this, [this] { OnLuminaireGroupSelChanged(); });
    connect(m_lampTree, &QTreeWidget::itemSelectionChanged, this, [this] { FillLampGrid(); });
    connect(m_filterButton, &QPushButton::clicked, this, [this] { OnFilter(); });
    connect(m_search, &QPushButton::clicked, this, [this] { OnSearch(); });
    connect(m_ownFlux, &QCheckBox::clicked, this, [this] { OnOwnFlux(); });
    connect(m_used, &QPushButton::clicked, this, [this] { OnUsedLuminaires(); });
    connect(m_enlargeList, &QPushButton::clicked, this, [this] { OnEnlargeList(); });
    connect(m_enlargePicture, &QPushButton::clicked, this, [this] { OnEnlargePicture(); });
    connect(m_toggleCurve, &QPushButton::clicked, this, [this] { OnToggleCurvePhoto(); });
    connect(m_picture, &CPictureButton::doubleClicked, this, [this] { OnToggleCurvePhoto(); });
    m_luminaireGrid->grid().SetNotifyHandler([this](kzev::GridNotification& note) { onGridNotify(note); });
    m_lampGrid->grid().SetNotifyHandler([this](kzev::GridNotification& note) { onGridNotify(note); });
}

void CLampSelectDialog::setContext(const kzev::LampSheetContext& context)
{
    m_context = context;
    if (CKzevDoc* doc = m_context.doc) {
        m_lampFilter->setChecked(doc->m_powerLampFilter != 0);
        m_filter->clear();
    }
    if (m_context.working) {
        m_flux->setText(QString::number(static_cast<long>(m_context.working->m_lampFlux + 0.001)));
        m_ownFlux->setChecked(m_context.working->m_ownFlux != 0);
    }
    updatePictureButtons();
}

void CLampSelectDialog::SetupGrids()
{
    const std::array<int, kGridColumns> luminaireHeadings { 61922, 61923, 61928, 61929, 61927, 61873, 61891 };
    const std::array<int, kGridColumns> lampHeadings { 61922, 61923, 61924, 61925, 61926, 61703, 0 };
    const auto setup = [](kzev::GridWidget* widget, const std::array<int, kGridColumns>& headings) {
        CGridCtrl& grid = widget->grid();
        grid.SetColumnCount(kGridColumns);
        grid.SetRowCount(1);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        for (int col = 0; col < kGridColumns; ++col)
            grid.SetItemText(0, col, headings[col] != 0 ? kzev::loadString(headings[col]) : std::string("Ra"));
        grid.AutoSizeColumns();
    };
    setup(m_luminaireGrid, luminaireHeadings);
    setup(m_lampGrid, lampHeadings);
}

void CLampSelectDialog::onGridNotify(const kzev::GridNotification& note)
{
    if (note.controlId == kLuminaireGridId) {
        if (note.code == kzev::gvn::Click)
            OnLuminaireGridClick(note.row);
        else if (note.code == kzev::gvn::DblClick)
            OnLuminaireGridDblClk(note.row);
    } else if (note.controlId == kLampGridId && note.code == kzev::gvn::Click) {
        OnLampGridClick();
    }
}

bool CLampSelectDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the filter runs the filter and goes no further (not to the sheet's OK).
    if (watched == m_filter && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OnFilter();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CLampSelectDialog::drawPicture(QPainter& painter, const QRect& rect)
{
    if (!m_shown || !m_context.doc)
        return;
    if (m_context.doc->m_selectionPageSwitch == 1) {
        painter.setRenderHint(QPainter::Antialiasing);
        kzev::QtPainterSurface surface(painter);
        surface.selectPen(kzev::Pen { kzev::PenStyle::Solid, 0, kzev::rgb(96, 96, 96) });
        kzev::DrawIntensityCurve(surface, rect.left(), rect.top(), rect.width(), rect.height(), *m_shown);
        return;
    }
    kzev::drawPictureFitted(painter, kzev::readLuminairePicture(m_picturePath), rect.adjusted(1, 1, -1, -1));
}

void CLampSelectDialog::updatePictureButtons()
{
    const bool curve = !m_context.doc || m_context.doc->m_selectionPageSwitch == 1;
    m_enlargePicture->setEnabled(!curve);
}

void CLampSelectDialog::OnToggleCurvePhoto()
{
    if (!m_context.doc)
        return;
    m_context.doc->m_selectionPageSwitch = m_context.doc->m_selectionPageSwitch != 1 ? 1 : 0;
    updatePictureButtons();
    m_picture->update();
}

void CLampSelectDialog::OnEnlargePicture()
{
    CPictureDialog dialog(m_picturePath, this);
    dialog.exec();
}

void CLampSelectDialog::OnEnlargeList()
{
    for (QWidget* widget : m_hiddenWhenEnlarged)
        widget->hide();
    m_enlarged = true;
}

void CLampSelectDialog::OnLuminaireGridDblClk(int row)
{
    if (!m_enlarged)
        return;
    m_enlarged = false;
    for (QWidget* widget : m_hiddenWhenEnlarged)
        widget->show();
    if (row >= 1)
        m_luminaireGrid->grid().EnsureVisible(row, 0);
}
