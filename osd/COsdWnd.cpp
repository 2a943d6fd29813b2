#include "osd/COsdWnd.h"

#include <ctime>
#include <optional>

#include <QCursor>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "common/Posting.h"
#include "resources/Artwork.h"
#include "osd/NotificationType.h"
#include "osd/ServerGrab.h"
#include "skin/Region.h"

namespace pallix::osd {

namespace {

// The level's two steps as last reported, per level.
std::array<std::uint32_t, 4> gFirstStep{};
std::array<std::uint32_t, 4> gSecondStep{};

unsigned MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<unsigned>(static_cast<unsigned long long>(ts.tv_sec) * 1000u + ts.tv_nsec / 1000000);
}

}  // namespace

COsdWnd::COsdWnd()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::BypassWindowManagerHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setWindowTitle(QString());
    setWindowOpacity(kOpacity);
    hideTimer_.setSingleShot(true);
    redrawTimer_.setSingleShot(true);
    connect(&hideTimer_, &QTimer::timeout, this, [this] { ShowPicture(false); });
    connect(&redrawTimer_, &QTimer::timeout, this, [this] { ShowPicture(true); });
    connect(&mailbox_, &QtMailbox::messageReceived, this, &COsdWnd::OnMessage);
    setGeometry(0, 0, 1, 1);
    if (mailbox_.isOpen()) PublishHandle(settings_, kOsdHandle, mailbox_.handle());
    // Create the native window now, so the first picture appears without delay.
    show();
    hide();
    MarkAsNotification(winId());
}

COsdWnd::~COsdWnd() {
    hideTimer_.stop();
    redrawTimer_.stop();
    if (mailbox_.isOpen()) WithdrawHandle(settings_, kOsdHandle);
}

Qx7OsdState COsdWnd::state() const {
    Qx7OsdState s{};
    s.kind = model_.kind;
    s.pictureId = pictureId_;
    for (int k = 0; k < 4; ++k) s.digitIds[k] = pictureId_ >= kLevelPicture && pictureId_ < kLevelPicture + 4
                                                    ? digitIds_[static_cast<std::size_t>(k)]
                                                    : 0;
    s.visible = visible_ ? 1 : 0;
    s.enabled = enabled_ ? 1 : 0;
    s.fullStep = model_.fullStep ? 1 : 0;
    s.profile = model_.profile;
    s.level = model_.level;
    s.shownCount = shownCount_;
    s.shownAtMs = shownAtMs_;
    return s;
}

void COsdWnd::OnMessage(const Message& message) {
    if (message.message == WM_OSD_NOTIFY) Notify(message.wParam, message.lParam);
    else if (message.message == kOsdQueryState) AnswerQuery(message.wParam);
}

void COsdWnd::AnswerQuery(WindowHandle asker) {
    const Qx7OsdState s = state();
    poster_.Post(asker, {kOsdStateReply, PackStateWParam(s), PackStateLParam(s)});
    poster_.Post(asker, {kOsdShownReply, s.shownAtMs, s.shownCount});
}

void COsdWnd::Notify(std::uint32_t code, std::uint32_t lParam) {
    switch (code) {
    case OSD_PROFILE_LEVEL: {
        const ProfileLevel word = UnpackProfileLevel(lParam);
        model_.level = static_cast<int>(word.level);
        gFirstStep[word.level] = word.step1;
        gSecondStep[word.level] = word.step2;
        if (word.profileChanged) {
            model_.profile = static_cast<int>(word.profile);
            model_.kind = KIND_PROFILE;
        } else {
            if (word.profile <= 4) model_.profile = static_cast<int>(word.profile);
            model_.kind = KIND_LEVEL;
        }
        Present();
        break;
    }
    case OSD_SIDE_BUTTON:
        if (lParam != kSideButtonBack && lParam != kSideButtonForward) return;
        model_.arrow = static_cast<int>(lParam);
        model_.kind = KIND_SIDE_BUTTON;
        Present();
        break;
    case OSD_SET_PROFILE: model_.profile = static_cast<int>(lParam); break;
    case OSD_LOCK:
        model_.locked = lParam != 0;
        model_.kind = KIND_LOCK;
        Present();
        break;
    case OSD_POLLING_RATE:
        if (lParam > 3) return;
        model_.polling = 3 - static_cast<int>(lParam);  // 0 is 1000 Hz, the last picture
        model_.kind = KIND_POLLING_RATE;
        Present();
        break;
    case OSD_MODE:
        model_.battle = lParam != 0;
        model_.kind = KIND_MODE;
        Present();
        break;
    case OSD_ENABLE: enabled_ = lParam != 0; break;
    case OSD_STEP_SCALE: model_.fullStep = lParam != 0; break;
    default: break;
    }
}

void COsdWnd::Present() {
    if (BuildPicture()) ShowPicture(true);
}

bool COsdWnd::BuildPicture() {
    const int id = PictureFor(model_);
    if (id == 0) return false;
    QImage picture = OsdArtwork().Image(id);
    // A picture that cannot be loaded leaves the previous one in place.
    QRegion region;
    if (!picture.isNull()) {
        picture = picture.convertToFormat(QImage::Format_RGB32);
        if (model_.kind == KIND_LEVEL) {
            digitIds_ = DigitIds(gSecondStep[static_cast<std::size_t>(model_.level)], model_.fullStep);
            QPainter painter(&picture);
            int x = kDigitX;
            for (int digit : digitIds_) {
                const QImage d = OsdArtwork().Image(digit);
                painter.drawImage(x, kDigitY, d);
                x += d.width();
            }
        }
        background_ = picture;
        pictureId_ = id;
        region = RegionFromImage(background_, kCutOutColour);
    }
    // Everything is ready before the window is touched; then size, shape and picture
    // change as one, so a visible window never shows its new size with the old
    // picture (or unpainted strips) in between.
    const bool inPlace = isVisible();
    std::optional<ServerGrab> grab;
    if (inPlace) grab.emplace();
    setGeometry(TargetRect());
    if (!region.isEmpty()) setMask(region);
    if (inPlace) repaint();
    return true;
}

QRect COsdWnd::TargetRect() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const int w = background_.width(), h = background_.height();
    return {area.x() + (area.width() - w) / 2, area.y() + area.height() - h - kBottomMargin, w, h};
}

void COsdWnd::ShowPicture(bool show) {
    hideTimer_.stop();
    redrawTimer_.stop();
    if (show && !enabled_) show = false;
    if (!show) {
        hide();
        visible_ = false;
        return;
    }
    if (visible_) {
        // Drawn in place; the visible time starts again after a short redraw delay.
        update();
        visible_ = false;
        redrawTimer_.start(kRedrawDelayMs);
        return;
    }
    // Decided before showing: showing under the pointer delivers an enter event.
    const QRect r = TargetRect();
    const QPoint p = QCursor::pos();
    pointerInside_ = p.x() > r.left() && p.x() < r.right() && p.y() > r.top() && p.y() < r.bottom();
    visible_ = true;
    ++shownCount_;
    shownAtMs_ = MonotonicMs();
    hideTimer_.start(kHideDelayMs);
    QWidget::show();
    // Above whatever was raised since: the window manager never restacks it.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
}

void COsdWnd::paintEvent(QPaintEvent*) {
    if (background_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, background_);
}

// Touching a picture that appeared away from the pointer hides it at once.
void COsdWnd::enterEvent(QEnterEvent*) {
    if (!pointerInside_) ShowPicture(false);
}

void COsdWnd::mouseMoveEvent(QMouseEvent*) {
    if (!pointerInside_) ShowPicture(false);
}

}  // namespace pallix::osd
