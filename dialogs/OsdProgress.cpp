#include "dialogs/OsdProgress.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include "resources/Artwork.h"
#include "skin/Region.h"

namespace pallix {
namespace {

class ProgressWindow : public QWidget {
public:
    explicit ProgressWindow(const QImage* frame)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput |
                               Qt::NoDropShadowWindowHint),
          frame_(frame) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(Qt::ArrowCursor);
        setWindowTitle(QStringLiteral("Loading"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, *frame_);
    }

private:
    const QImage* frame_;
};

}  // namespace

COsdProgress::COsdProgress() {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { OnTimer(kTimerId); });
}

COsdProgress::~COsdProgress() {
    timer_.stop();
    delete window_.data();
}

bool COsdProgress::Create(std::span<const int> frameIds) {
    if (frameIds.empty() || !QGuiApplication::primaryScreen()) return false;
    frameIds_.assign(frameIds.begin(), frameIds.end());
    captionId_ = kCaptionReading;
    frameIndex_ = 0;
    if (!window_) window_ = new ProgressWindow(&frame_);
    // The native window exists from here on, hidden, so the first Start shows at once.
    window_->winId();
    window_->setWindowOpacity(kOpacity / 255.0);
    return true;
}

bool COsdProgress::ComposeFrame(int index) {
    QImage picture = ProgramArtwork().Image(frameIds_[index]);
    if (picture.isNull()) return false;
    picture = picture.convertToFormat(QImage::Format_RGB32);
    if (captionId_ != 0) {
        const QImage caption = ProgramArtwork().Image(captionId_);
        if (!caption.isNull()) {
            QPainter p(&picture);
            p.drawImage((picture.width() - caption.width()) / 2, (picture.height() - caption.height()) / 2, caption);
        }
    }
    frame_ = picture;
    window_->setFixedSize(frame_.size());
    window_->setMask(RegionFromImage(frame_, kKey));
    window_->update();
    return true;
}

bool COsdProgress::Start(int captionId) {
    if (!window_ || frameIds_.empty()) return false;
    interval_ = kIntervalMs;
    captionId_ = captionId;
    frameIndex_ = 0;
    timer_.stop();
    ComposeFrame(0);
    const QSize size = frame_.isNull() ? window_->size() : frame_.size();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    window_->move(screen.x() + (screen.width() - size.width()) / 2,
                  screen.y() + (screen.height() - size.height()) / 2);
    window_->show();
    window_->raise();
    timer_.start(interval_);
    return true;
}

void COsdProgress::Stop() {
    timer_.stop();
    if (window_) window_->hide();
}

void COsdProgress::OnTimer(int timerId) {
    if (timerId != kTimerId || !window_ || frameIds_.empty()) return;
    frameIndex_ = (frameIndex_ + 1) % FrameCount();
    ComposeFrame(frameIndex_);
    window_->show();
}

}  // namespace pallix
