#pragma once
// CSkinnedWindow: what the frameless windows drawn from a face picture share. The
// face's key colour is cut out of the window, and a left press on the drag band
// moves it. The move is the window system's own where it offers one (snapping,
// tiling and Wayland moves then work); otherwise the window follows the pointer.
//
//   CSkinnedWindow skin_{*this};
//   setMask(CSkinnedWindow::FaceShape(face_));
//   void mousePressEvent(QMouseEvent* e) { if (!skin_.Press(e, e->position().y() < kBand)) ...; }
//   void mouseMoveEvent(QMouseEvent* e) { if (!skin_.Move(e)) ...; }
//   void mouseReleaseEvent(QMouseEvent* e) { skin_.Release(); ... }
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QRgb>

class QMouseEvent;
class QWidget;

namespace pallix {

class CSkinnedWindow {
public:
    static constexpr QRgb kFaceKey = qRgb(0, 64, 0);

    explicit CSkinnedWindow(QWidget& window) : window_(window) {}

    // Every pixel of the face but the key colour; empty for a null face.
    static QRegion FaceShape(const QImage& face);

    // A left press where `onBand` starts a move; true when it did (the event is
    // then accepted and is the window's no further).
    bool Press(QMouseEvent* e, bool onBand);
    // Follows the pointer during a move of our own; true while one runs.
    bool Move(QMouseEvent* e);
    void Release() { dragging_ = false; }
    bool Dragging() const { return dragging_; }

private:
    QWidget& window_;
    QPoint offset_;
    bool dragging_ = false;
};

}  // namespace pallix
