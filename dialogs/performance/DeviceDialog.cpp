#include "dialogs/performance/DeviceDialog.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "platform/qt/QtMailbox.h"
#include "resources/Artwork.h"
#include "skin/SkinControl.h"
#include "skin/WndShadow.h"

namespace pallix {
namespace {
constexpr int kIconPicture = 800;
}  // namespace

CDeviceDialog::CDeviceDialog(SettingsStore& store, const char* handleName, Sleeper sleeper, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      store_(store),
      handleName_(handleName),
      sleeper_(sleeper ? std::move(sleeper) : Sleeper(SleepMilliseconds)),
      mailbox_(new QtMailbox(this)),
      shadow_(new CWndShadow()) {
    shadow_->setParent(this);
    const QImage icon = ProgramArtwork().Image(kIconPicture);
    if (!icon.isNull()) setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    connect(mailbox_, &QtMailbox::messageReceived, this, &CDeviceDialog::OnMailboxMessage);
}

CDeviceDialog::~CDeviceDialog() = default;

WindowHandle CDeviceDialog::Handle() const { return mailbox_->isOpen() ? mailbox_->handle() : 0; }

void CDeviceDialog::OnMailboxMessage(const Message& m) {
    if (m.message == WM_DEVICE_EVENT) OnDeviceEvent(m.wParam, m.lParam);
    else if (m.message == WM_SLIDER_CHANGED) OnSliderChanged(int(m.wParam), int(m.lParam));
}

void CDeviceDialog::SetFace(int pictureId) {
    face_ = ProgramArtwork().Image(pictureId);
    const QRegion shape = CSkinnedWindow::FaceShape(face_);
    if (!face_.isNull()) setFixedSize(face_.size());
    if (shape.isEmpty()) {
        clearMask();
    } else {
        setMask(shape);
        shadow_->CreateShadow(this);
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    update();
}

void CDeviceDialog::Publish() {
    if (mailbox_->isOpen()) PublishHandle(store_, handleName_, mailbox_->handle());
}

void CDeviceDialog::Withdraw() { WithdrawHandle(store_, handleName_); }

void CDeviceDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (face_.isNull()) p.fillRect(rect(), QColor(30, 30, 30));
    else p.drawImage(0, 0, face_);
    PaintOver(p);
}

void CDeviceDialog::mousePressEvent(QMouseEvent* e) {
    if (!skin_.Press(e, e->position().y() < kDragBand)) QDialog::mousePressEvent(e);
}

void CDeviceDialog::mouseMoveEvent(QMouseEvent* e) {
    if (!skin_.Move(e)) QDialog::mouseMoveEvent(e);
}

void CDeviceDialog::mouseReleaseEvent(QMouseEvent* e) {
    skin_.Release();
    QDialog::mouseReleaseEvent(e);
}

}  // namespace pallix
