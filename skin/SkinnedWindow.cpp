#include "skin/SkinnedWindow.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include "skin/Region.h"

namespace pallix {

QRegion CSkinnedWindow::FaceShape(const QImage& face) {
    return face.isNull() ? QRegion() : RegionFromImage(face, kFaceKey);
}

bool CSkinnedWindow::Press(QMouseEvent* e, bool onBand) {
    if (e->button() != Qt::LeftButton || !onBand) return false;
    e->accept();
    // False where the platform has no such move (offscreen, X without a window
    // manager that offers it).
    QWindow* handle = window_.windowHandle();
    if (handle && handle->startSystemMove()) return true;
    dragging_ = true;
    offset_ = e->globalPosition().toPoint() - window_.frameGeometry().topLeft();
    return true;
}

bool CSkinnedWindow::Move(QMouseEvent* e) {
    if (!dragging_ || !(e->buttons() & Qt::LeftButton)) return false;
    window_.move(e->globalPosition().toPoint() - offset_);
    e->accept();
    return true;
}

}  // namespace pallix
