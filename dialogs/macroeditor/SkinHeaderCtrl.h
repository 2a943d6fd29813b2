#pragma once
// CSkinHeaderCtrl: the line list's header, painted from the header pictures (274 the
// tiled middle, 275 the left cap of the first column, 276 the right cap).
#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QImage>

namespace pallix {

class CSkinHeaderCtrl : public QHeaderView {
    Q_OBJECT
public:
    static constexpr int kMiddlePicture = 274;
    static constexpr int kFirstCapPicture = 275;
    static constexpr int kRightCapPicture = 276;
    static constexpr int kCapWidth = 4;
    static constexpr int kHeight = 18;
    static inline const QColor kBackground{10, 10, 10};
    static inline const QColor kText{163, 163, 163};

    explicit CSkinHeaderCtrl(QWidget* parent = nullptr);

    void SetHeaderFont(const QFont& font);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    QImage middle_, firstCap_, rightCap_;
    QFont font_;
};

}  // namespace pallix
