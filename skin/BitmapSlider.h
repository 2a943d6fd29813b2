#pragma once
// CBitmapSlider: a slider drawn from a channel picture and a thumb picture. It tells
// its parent about presses, drags and releases with Posted(message, control id, pos)
// using WM_SLIDER_PRESSED / WM_SLIDER_TRACKING / WM_SLIDER_CHANGED.
#include <QImage>
#include <QWidget>

#include "skin/SkinControl.h"

namespace pallix {

class CBitmapSlider : public QWidget {
    Q_OBJECT
public:
    explicit CBitmapSlider(QWidget* parent = nullptr, int controlId = -1);

    // Channel pictures (key white). Id 0 forgets the channel. Returns 1 or 0.
    int LoadChannel(int channelId, int activeChannelId = 0);
    // Thumb pictures (key RGB 0,64,0). Id 0 forgets the thumb.
    int LoadThumb(int thumbId, int activeThumbId = 0);
    // The same with pictures at hand (tests, pictures not in the artwork).
    int SetChannelImages(const QImage& channel, const QImage& active = {});
    int SetThumbImages(const QImage& thumb, const QImage& active = {});

    void SetRange(int min, int max);
    void SetPageSize(int page) { page_ = page; }
    void SetMargins(int left, int top, int right, int bottom);
    void SetVertical(bool vertical) { vertical_ = vertical; }
    void EnableSlider(bool enable);
    void DrawFocusRect(bool draw) { drawFocusRect_ = draw; }
    void SetFocusOnClick(bool focus) { focusOnClick_ = focus; }

    void SetPos(int value);
    int GetPos() const { return pos_; }
    int GetMin() const { return min_; }
    int GetMax() const { return max_; }
    bool IsDragging() const { return dragging_; }
    int GrabOffset() const { return grabOffset_; }

    virtual int PosFromPixel(int pixel) const;
    virtual int PixelFromPos(int value) const;
    virtual void TrackPoint(Qt::MouseButtons buttons, int x, int y);

signals:
    void Posted(const pallix::Message& message);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

    // CBitmapSliderEx draws its thumb also while disabled.
    virtual bool DrawsThumbWhenDisabled() const { return false; }
    void Post(std::uint32_t message);
    int Track() const;
    int ThumbExtent() const { return vertical_ ? thumbHeight_ : thumbWidth_; }
    int MarginStart() const { return vertical_ ? marginTop_ : marginLeft_; }

    int max_ = 100, min_ = 0, pos_ = 0, page_ = 20;
    int width_ = 0, height_ = 0, thumbWidth_ = 0, thumbHeight_ = 0;
    int marginLeft_ = 0, marginRight_ = 0, marginTop_ = 0, marginBottom_ = 0;
    int grabOffset_ = 0;
    bool vertical_ = false, dragging_ = false;
    bool drawFocusRect_ = true, focusOnClick_ = true;
    QImage channel_, activeChannel_, thumb_, activeThumb_;
};

// Draws the thumb also while disabled.
class CBitmapSliderEx : public CBitmapSlider {
    Q_OBJECT
public:
    using CBitmapSlider::CBitmapSlider;

protected:
    bool DrawsThumbWhenDisabled() const override { return true; }
};

// Measures a horizontal drag from the thumb's left edge instead of its centre.
class CBitmapSliderEx2 : public CBitmapSlider {
    Q_OBJECT
public:
    using CBitmapSlider::CBitmapSlider;
    int PosFromPixel(int pixel) const override;
};

}  // namespace pallix
