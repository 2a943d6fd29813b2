#include "dialogs/macroeditor/SkinListCtrl.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include "dialogs/macroeditor/SkinHeaderCtrl.h"
#include "macro/InstructionSet.h"
#include "resources/Artwork.h"
#include "skin/SkinControl.h"
#include "skin/SkinVerticleScrollbar.h"

namespace pallix {
namespace {

// Icon resource of each image; 0 where the image has none.
constexpr int kImageIcons[CSkinListCtrl::kImageCount] = {900, 901, 902, 905, 906, 903, 904, 907,
                                                         908, 909, 911, 912, 913, 910, 0, 0};
const char* const kColumnTexts[3] = {"NO.", "INSTRUCTION", "DELAY"};

// Selected rows in the list's own colours, never the system highlight.
class SelectionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem o(option);
        const bool selected = o.state.testFlag(QStyle::State_Selected);
        o.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
        p->fillRect(o.rect, selected ? CSkinListCtrl::kSelectedBackground : CSkinListCtrl::kBackground);
        o.palette.setColor(QPalette::Text, selected ? CSkinListCtrl::kSelectedText : CSkinListCtrl::kText);
        o.backgroundBrush = Qt::NoBrush;
        QStyledItemDelegate::paint(p, o, index);
    }
};

}  // namespace

CSkinListCtrl::CSkinListCtrl(QWidget* parent, int controlId) : QTreeWidget(parent), header_(new CSkinHeaderCtrl(this)) {
    SetControlId(this, controlId);
    setHeader(header_);
    setColumnCount(3);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    // Rows are selected whole (SelectRows); a row-wide focus frame would be drawn by
    // the style over the skin's colours, so the focus goes to the cells, whose
    // delegate never draws it.
    setAllColumnsShowFocus(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setIconSize(kIconSize);
    setItemDelegate(new SelectionDelegate(this));
    QPalette pal = palette();
    for (auto role : {QPalette::Base, QPalette::Window, QPalette::AlternateBase}) pal.setColor(role, kBackground);
    pal.setColor(QPalette::Text, kText);
    // Whatever the style still paints as selected comes out in the skin's colours.
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Highlight, kSelectedBackground);
        pal.setColor(group, QPalette::HighlightedText, kSelectedText);
    }
    setPalette(pal);
    setAutoFillBackground(true);
    for (int i = 0; i < kImageCount; ++i) {
        if (kImageIcons[i] == 0) continue;
        const QImage image = ProgramArtwork().Image(kImageIcons[i]);
        if (!image.isNull()) images_[i] = QIcon(QPixmap::fromImage(image));
    }
    connect(this, &QTreeWidget::itemSelectionChanged, this, &CSkinListCtrl::OnSelectionChanged);
}

void CSkinListCtrl::Initialise(QWidget* dialog, const QFont& font) {
    setFont(font);
    header_->SetHeaderFont(font);
    QStringList labels;
    for (const char* text : kColumnTexts) labels << QString::fromLatin1(text);
    setHeaderLabels(labels);
    for (int c = 0; c < 3; ++c) setColumnWidth(c, kColumnWidths[c]);
    if (!scrollBar_) {
        scrollBar_ = new CSkinVerticleScrollbar(dialog);
        scrollBar_->SetList(this);
        scrollBar_->show();
    }
    PlaceScrollBar();
}

QIcon CSkinListCtrl::ImageOf(int image) const {
    return image >= 0 && image < kImageCount ? images_[image] : QIcon();
}

void CSkinListCtrl::Fill(QTreeWidgetItem* item, const macro::RowTexts& t) const {
    item->setText(0, QString::fromStdString(t.number));
    item->setText(1, QString::fromStdString(t.instruction));
    item->setIcon(1, ImageOf(t.icon));
    item->setText(2, QString::fromStdString(t.delay));
    item->setIcon(2, ImageOf(macro::ICON_DELAY));
}

bool CSkinListCtrl::InsertRow(int row, const macro::RowTexts& t) {
    if (row < 0 || row > topLevelItemCount()) return false;
    auto* item = new QTreeWidgetItem;
    Fill(item, t);
    // The selection moves along with the rows below; that is not the user's pick,
    // and reporting it would reselect lines in the middle of the line list's edit.
    settingSelection_ = true;
    insertTopLevelItem(row, item);
    settingSelection_ = false;
    return true;
}

void CSkinListCtrl::SetRow(int row, const macro::RowTexts& t) {
    if (QTreeWidgetItem* item = topLevelItem(row)) Fill(item, t);
}

void CSkinListCtrl::DeleteRow(int row) {
    settingSelection_ = true;
    delete takeTopLevelItem(row);
    settingSelection_ = false;
}

void CSkinListCtrl::DeleteAllRows() {
    settingSelection_ = true;
    clear();
    settingSelection_ = false;
}

void CSkinListCtrl::SetRowSelected(int row, bool selected) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item) return;
    settingSelection_ = true;
    item->setSelected(selected);
    if (selected) setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
    settingSelection_ = false;
    viewport()->update();
}

void CSkinListCtrl::ScrollIntoView(int row) {
    if (QTreeWidgetItem* item = topLevelItem(row)) scrollToItem(item);
}

int CSkinListCtrl::TopIndex() const {
    const QModelIndex top = indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

int CSkinListCtrl::ItemsPerPage() const {
    const int rowHeight = topLevelItemCount() > 0 ? indexRowSizeHint(model()->index(0, 0)) : 0;
    return rowHeight > 0 ? std::max(1, viewport()->height() / rowHeight) : 1;
}

std::vector<int> CSkinListCtrl::SelectedRows() const {
    std::vector<int> rows;
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->isSelected()) rows.push_back(i);
    return rows;
}

void CSkinListCtrl::OnSelectionChanged() {
    if (!settingSelection_) emit SelectionPicked(SelectedRows());
}

void CSkinListCtrl::wheelEvent(QWheelEvent* e) {
    const int count = topLevelItemCount();
    if (count > 0) {
        int target;
        if (e->angleDelta().y() < 0) target = std::min(TopIndex() + ItemsPerPage(), count - 1);
        else target = std::max(TopIndex() - 1, 0);
        scrollToItem(topLevelItem(target));
    }
    if (scrollBar_) scrollBar_->SyncThumb();
    e->accept();
}

void CSkinListCtrl::keyPressEvent(QKeyEvent* e) {
    QTreeWidget::keyPressEvent(e);
    if (scrollBar_) scrollBar_->SyncThumb();
}

void CSkinListCtrl::mouseReleaseEvent(QMouseEvent* e) {
    QTreeWidget::mouseReleaseEvent(e);
    emit RowClicked();
}

void CSkinListCtrl::resizeEvent(QResizeEvent* e) {
    QTreeWidget::resizeEvent(e);
    PlaceScrollBar();
}

void CSkinListCtrl::PlaceScrollBar() {
    if (!scrollBar_) return;
    const QPoint at = mapTo(scrollBar_->parentWidget(), QPoint(width(), 0));
    scrollBar_->setGeometry(at.x(), at.y(), CSkinVerticleScrollbar::kWidth, height());
    scrollBar_->SyncThumb();
}

}  // namespace pallix
