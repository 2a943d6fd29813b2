#include "skin/ColorCombox.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>

#include "skin/SkinControl.h"

namespace pallix {
namespace {

class ItemDelegate : public QStyledItemDelegate {
public:
    explicit ItemDelegate(CColorCombox* box) : QStyledItemDelegate(box), box_(box) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QColor text = selected ? box_->SelectedTextColour() : box_->TextColour();
        const QColor back = selected ? box_->SelectedBackgroundColour() : box_->BackgroundColour();
        p->save();
        p->fillRect(option.rect, back);
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.rect = option.rect;
            focus.palette = option.palette;
            box_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p, box_);
        }
        if (index.isValid()) {
            p->setPen(text);
            p->setFont(box_->font());
            const int flags = box_->DrawFormat() ? box_->DrawFormat() : int(Qt::AlignLeft | Qt::AlignVCenter);
            p->drawText(option.rect.translated(3, 0), flags | Qt::TextSingleLine, box_->ShownText(index.row()));
            p->setPen(box_->BackgroundColour());
            p->setBrush(Qt::NoBrush);
            p->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        p->restore();
    }

private:
    CColorCombox* box_;
};

}  // namespace

CColorCombox::CColorCombox(QWidget* parent, int controlId) : QComboBox(parent) {
    if (controlId >= 0) SetControlId(this, controlId);
    text_ = palette().color(QPalette::WindowText);
    background_ = palette().color(QPalette::Window);
    selectedText_ = QColor::fromRgb(~text_.rgb() & 0xFFFFFFu);
    selectedBackground_ = palette().color(QPalette::Highlight);
    setItemDelegate(new ItemDelegate(this));
    // Whoever removes rows (removeItem, clear), the list follows.
    connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                for (int i = std::min<int>(last, int(texts_.size()) - 1); i >= first; --i) texts_.removeAt(i);
            });
}

int CColorCombox::AddItem(const QString& text) {
    if (texts_.size() >= kMaxItems) return -1;
    texts_.append(text);
    addItem(text);
    return count() - 1;
}

void CColorCombox::DeleteItem(int index) { removeItem(index); }

QString CColorCombox::ShownText(int index) const {
    if (useControlTexts_ || index < 0 || index >= texts_.size()) return itemText(index);
    return texts_.at(index);
}

void CColorCombox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), background_);
    p.setPen(text_);
    const int current = currentIndex();
    if (current >= 0 && current < texts_.size())
        p.drawText(QRect(QPoint(5, 2), QPoint(110, 15)), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   ShownText(current));
    // A small arrow where the system draws its drop button.
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(text_);
    const QPointF c(width() - 10, height() / 2.0);
    p.drawPolygon(QPolygonF({c + QPointF(-4, -2), c + QPointF(4, -2), c + QPointF(0, 3)}));
}

}  // namespace pallix
