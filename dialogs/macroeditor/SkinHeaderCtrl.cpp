#include "dialogs/macroeditor/SkinHeaderCtrl.h"

#include <QPainter>

#include "resources/Artwork.h"

namespace pallix {

CSkinHeaderCtrl::CSkinHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    middle_ = ProgramArtwork().Image(kMiddlePicture);
    firstCap_ = ProgramArtwork().Image(kFirstCapPicture);
    rightCap_ = ProgramArtwork().Image(kRightCapPicture);
    setSectionsMovable(true);  // header drag and drop
    setHighlightSections(false);
    setMinimumSectionSize(0);
    setStretchLastSection(false);
}

void CSkinHeaderCtrl::SetHeaderFont(const QFont& font) {
    font_ = font;
    viewport()->update();
}

QSize CSkinHeaderCtrl::sizeHint() const {
    QSize s = QHeaderView::sizeHint();
    s.setHeight(kHeight);
    return s;
}

void CSkinHeaderCtrl::paintEvent(QPaintEvent* e) {
    {
        QPainter p(viewport());
        p.fillRect(viewport()->rect(), kBackground);
        if (!middle_.isNull()) p.drawTiledPixmap(viewport()->rect(), QPixmap::fromImage(middle_));
    }
    QHeaderView::paintEvent(e);
}

void CSkinHeaderCtrl::paintSection(QPainter* p, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid() || rect.width() <= 0) return;
    p->save();
    const bool first = visualIndex(logicalIndex) == 0;
    const QImage& leftCap = first ? firstCap_ : middle_;
    const QRect left(rect.left(), rect.top(), kCapWidth, rect.height());
    const QRect right(rect.right() - kCapWidth + 1, rect.top(), kCapWidth, rect.height());
    const QRect middle(left.right() + 1, rect.top(), std::max(0, right.left() - left.right() - 1), rect.height());
    if (!leftCap.isNull()) p->drawTiledPixmap(left, QPixmap::fromImage(leftCap));
    if (!middle_.isNull()) p->drawTiledPixmap(middle, QPixmap::fromImage(middle_));
    if (!rightCap_.isNull()) p->drawImage(right.topLeft(), rightCap_);
    p->setFont(font_);
    p->setPen(kText);
    const QString text = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    const QRect textRect = rect.adjusted(2, 2, -2, -2);
    p->drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine,
                QFontMetrics(font_).elidedText(text, Qt::ElideRight, textRect.width()));
    p->restore();
}

}  // namespace pallix
