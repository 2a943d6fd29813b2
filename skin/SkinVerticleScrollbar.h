#pragma once
// CSkinVerticleScrollbar: a 17-pixel bitmap scroll bar beside a list. It hides the
// list's own scroll bars and scrolls the list through its vertical scroll bar's
// actions (line and page steps), so it works with any QAbstractScrollArea whose
// vertical range counts rows.
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QAbstractScrollArea;

namespace pallix {

class CSkinVerticleScrollbar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 17;
    static constexpr int kThumbHeight = 25;
    static constexpr int kRowPixels = 17;  // one list row in thumb-drag arithmetic
    static constexpr int kRepeatTimerId = 1;
    static constexpr int kRepeatMs = 250;
    static constexpr int kDragEscape = 50;

    explicit CSkinVerticleScrollbar(QWidget* parent = nullptr);

    void SetList(QAbstractScrollArea* list);
    void SetBackgroundColour(const QColor& c) { background_ = c; update(); }
    // Follow the list's scroll position; the list calls it whenever it scrolled.
    void SyncThumb();

    int ThumbTop() const { return thumbTop_; }
    double Ratio() const { return ratio_; }
    bool UpPressed() const { return upPressed_; }
    bool DownPressed() const { return downPressed_; }
    bool Dragging() const { return dragging_; }
    bool RepeatRunning() const { return repeat_.isActive(); }

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    bool OnThumb(int y) const { return y >= thumbTop_ && y <= thumbTop_ + kThumbHeight; }
    bool InUpArea(int y) const { return y >= 18 && y <= 33; }
    bool InDownArea(int y) const { return y >= height() - 15; }
    void Scroll(int action);
    void ClampThumb();
    void ComputeRatio();
    void OnRepeat();

    QPointer<QAbstractScrollArea> list_;
    QColor background_{10, 10, 10};
    bool upPressed_ = false, downPressed_ = false, dragging_ = false;
    int thumbTop_ = 0;
    double ratio_ = 0;
    QTimer repeat_;
    QImage channel_, thumb_;
};

}  // namespace pallix
