#pragma once
// CWndShadow: the soft drop shadow of a shaped window, drawn in a separate
// click-through translucent window that follows it. Where the platform cannot show
// translucent windows (X11 without a compositor) no shadow is made at all.
#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QSize>
#include <QWidget>

namespace pallix {

class CWndShadow : public QObject {
    Q_OBJECT
public:
    // Settings every shadow of the program uses.
    static constexpr int kDarkness = 180;
    static constexpr int kSharpness = 10;
    static constexpr int kSize = 5;

    CWndShadow();
    ~CWndShadow() override;

    // Once per process: decides whether shadows can be shown at all.
    static void InitShadows();
    static bool Available();
    // Tests and tools may force the decision.
    static void SetAvailable(bool available);

    // Attach to a window (after its mask is set); later calls re-attach.
    void CreateShadow(QWidget* parent);
    void Rebuild();

    QWidget* ShadowWindow() const { return shadow_; }
    bool ShadowVisible() const { return shadowVisible_; }
    const QImage& Picture() const { return picture_; }

    // The shadow picture of a window of that size and shape (region in window
    // coordinates; empty = the full rectangle), with the given settings.
    static QImage BuildShadow(const QSize& window, const QRegion& shape, int darkness,
                              int sharpness, int size, int xOffset, int yOffset, QColor colour);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();
    void ShowShadow();
    void HideShadow();

    QPointer<QWidget> parent_;
    QPointer<QWidget> shadow_;
    QImage picture_;
    bool enabled_ = false, shadowVisible_ = false, parentVisible_ = false, updateOnPaint_ = false;
    int darkness_ = kDarkness, sharpness_ = kSharpness, size_ = kSize;
    int xOffset_ = 0, yOffset_ = 0;
    QSize lastSize_;
    QColor colour_{0, 0, 0};
};

}  // namespace pallix
