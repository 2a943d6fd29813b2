#pragma once
// CHoverButtonEx: a button drawn from one picture of four frames (normal, pressed,
// hover, disabled), with a tooltip. CHoverButtonEx2 adds a caption over the frame.
#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QTimer>

namespace pallix {

class CHoverButtonEx : public QAbstractButton {
    Q_OBJECT
public:
    enum Frame { kFrameNormal = 0, kFramePressed = 1, kFrameHover = 2, kFrameDisabled = 3 };
    static constexpr int kTooltipDelayMs = 2000;

    explicit CHoverButtonEx(QWidget* parent = nullptr, int controlId = -1);

    // Frames side by side (true) or stacked top to bottom (false, the default).
    void SetHorizontal(bool horizontal) { horizontal_ = horizontal; }
    bool IsHorizontal() const { return horizontal_; }
    // Loads the strip and resizes the button to one frame. Returns 1, or 0 when the
    // picture does not exist (the button then keeps its plain look).
    int LoadStrip(int bitmapId);
    int SetStrip(const QImage& strip);
    void SetTooltipText(const QString& text, bool activate = true);
    QString TooltipText() const { return tooltip_; }
    // Forget the hover state (dialogs do it before they close).
    void ResetHover();

    bool Hover() const { return hover_; }
    QSize FrameSize() const { return frameSize_; }
    // The frame the button shows now.
    int CurrentFrame() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;
    // Painted after the frame; CHoverButtonEx2 draws its caption here.
    virtual void PaintOver(QPainter&) {}

private:
    void ShowTip();

    QImage strip_;
    QSize frameSize_;
    bool horizontal_ = false;
    bool hover_ = false;
    QString tooltip_;
    bool tooltipActive_ = false;
    QTimer tipTimer_;
};

class CHoverButtonEx2 : public CHoverButtonEx {
    Q_OBJECT
public:
    static constexpr int kMaxCaption = 31;
    static inline const QColor kSecondColour{125, 125, 125};

    using CHoverButtonEx::CHoverButtonEx;

    // Empty text clears the caption. Rectangle, font and colour are kept when not given.
    void SetCaption(const QString& text, const QRect* rect = nullptr, const QFont* font = nullptr,
                    QColor colour = QColor());
    void SetCaptionFormat(int qtAlignmentFlags) { format_ = qtAlignmentFlags; update(); }
    void SetHighlight(bool highlight) { highlight_ = highlight; update(); }
    bool CaptionShown() const { return captionShown_; }
    QString Caption() const { return caption_; }
    QFont CaptionFont() const { return hasFont_ ? font_ : font(); }
    // The colour the caption is drawn in now.
    QColor CaptionColour() const { return highlight_ ? colour_ : kSecondColour; }

protected:
    void PaintOver(QPainter& p) override;

private:
    bool captionShown_ = false;
    QString caption_;
    QColor colour_{250, 250, 250};
    QFont font_;
    bool hasFont_ = false;
    QRect rect_;
    int format_ = Qt::AlignLeft | Qt::AlignVCenter;
    bool highlight_ = false;
};

}  // namespace pallix
