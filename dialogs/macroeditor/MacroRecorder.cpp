#include "dialogs/macroeditor/MacroRecorder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include "dialogs/macroeditor/QtVirtualKey.h"
#include "dialogs/macroeditor/X11AutoRepeat.h"

namespace pallix {

using namespace pallix::macro;

namespace {

std::int64_t SteadyMs() {
    static QElapsedTimer timer;
    if (!timer.isValid()) timer.start();
    return timer.elapsed();
}

bool IsSideModifier(std::uint32_t vk) { return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU; }

std::uint8_t ButtonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return KEY_BUTTON_LEFT;
    case Qt::RightButton: return KEY_BUTTON_RIGHT;
    case Qt::MiddleButton: return KEY_BUTTON_MIDDLE;
    case Qt::BackButton: return KEY_BUTTON_4;
    case Qt::ForwardButton: return KEY_BUTTON_5;
    default: return 0;
    }
}

}  // namespace

CMacroRecorder::CMacroRecorder(CSkinLVCmdList& lines, QObject* parent)
    : QObject(parent), lines_(lines), converter_([this](std::uint32_t) { return eventIsLeft_; }), clock_(SteadyMs) {
    releaseTimer_.setSingleShot(true);
    releaseTimer_.setInterval(kRepeatWaitMs);
    connect(&releaseTimer_, &QTimer::timeout, this, &CMacroRecorder::FlushRelease);
}

CMacroRecorder::~CMacroRecorder() { Stop(); }

bool CMacroRecorder::Start(const DelaySettings& delays) {
    if (recording_ || !qApp) return false;
    delays_ = delays;
    qApp->installEventFilter(this);
    recording_ = true;
    stamped_ = false;
    lastKeyDown_ = 0;
    held_ = {};
    if (useDetectable_) detectable_ = std::make_unique<DetectableAutoRepeat>();
    return true;
}

void CMacroRecorder::Stop() {
    if (!recording_) return;
    FlushRelease();  // may stop recording itself when the script is full
    if (qApp) qApp->removeEventFilter(this);
    recording_ = false;
    releaseTimer_.stop();
    held_ = {};
    detectable_.reset();
}

bool CMacroRecorder::eventFilter(QObject* watched, QEvent* event) {
    // Each event passes the filter once for its window and again for its widgets:
    // it is recorded at the window.
    if (!recording_ || !watched->isWindowType()) return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        OnKey(*static_cast<QKeyEvent*>(event));
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        return OnMouseButton(watched, *static_cast<QMouseEvent*>(event), event->type() == QEvent::MouseButtonPress);
    case QEvent::MouseButtonDblClick:
        // The press of the second click has been recorded already.
        return !OverStop(watched, *static_cast<QMouseEvent*>(event));
    case QEvent::Wheel:
        return OnWheel(*static_cast<QWheelEvent*>(event));
    default:
        return false;
    }
}

// X11 repeats a held key as a release and a press with the same time stamp (unless
// detectable auto-repeat is on: then as presses alone). Qt marks such a pair as
// auto-repeat only when the press is already queued with the release, so a release
// of the key last pressed waits a moment for its press before it is recorded.
void CMacroRecorder::OnKey(const QKeyEvent& event) {
    const bool press = event.type() == QEvent::KeyPress;
    const RecordedKey key = KeyOfEvent(event);
    // A key the key table has no code for is left out: it is not part of the macro.
    if (key.vk == 0 || (!IsSideModifier(key.vk) && KeyCodeOfVirtualKey(key.vk) == 0)) return;
    if (event.isAutoRepeat()) return;
    const std::uint64_t stamp = event.timestamp();
    if (held_.waiting) {
        if (press && key.identity == held_.key.identity && stamp != 0 && stamp == held_.timestamp) {
            held_ = {};  // a repeat: the key is still down
            releaseTimer_.stop();
            return;
        }
        FlushRelease();
        if (!recording_) return;
    }
    const std::int64_t now = clock_();
    if (!press && key.identity == lastKeyDown_ && stamp != 0) {
        held_ = {true, key, stamp, now};
        releaseTimer_.start();
        return;
    }
    RecordKey(key, press, now);
}

void CMacroRecorder::FlushRelease() {
    if (!held_.waiting) return;
    const HeldRelease release = held_;
    held_ = {};
    releaseTimer_.stop();
    RecordKey(release.key, false, release.clockMs);
}

void CMacroRecorder::RecordKey(const RecordedKey& key, bool press, std::int64_t now) {
    if (press) {
        if (key.identity == lastKeyDown_) return;  // a repeat
        lastKeyDown_ = key.identity;
    } else {
        lastKeyDown_ = 0;
    }
    eventIsLeft_ = key.left;
    std::uint8_t code = converter_.Convert(key.vk, press);
    if (code == 0) return;
    if (!InsertDelay(now)) return;
    if (!press) {
        // A key held since before RECORD; or one whose press the system kept.
        if (!FoundPress(code)) {
            if (!Added(lines_.Append(code))) return;
        }
        code = static_cast<std::uint8_t>(code + KEY_RELEASE);
    }
    Added(lines_.Append(code));
}

bool CMacroRecorder::OverStop(QObject* window, const QMouseEvent& event) const {
    if (!stop_ || !stop_->isVisible()) return false;
    QWidget* top = stop_->window();
    if (!top || top->windowHandle() != window) return false;
    QWidget* under = top->childAt(event.position().toPoint());
    return under && (under == stop_ || stop_->isAncestorOf(under));
}

bool CMacroRecorder::OnMouseButton(QObject* window, const QMouseEvent& event, bool press) {
    const std::uint8_t code = ButtonCode(event.button());
    if (code == 0) return false;
    FlushRelease();
    if (!recording_) return true;
    if (event.button() == Qt::LeftButton && OverStop(window, event)) return false;
    Record(press ? code : static_cast<std::uint8_t>(code + KEY_RELEASE));
    return true;
}

bool CMacroRecorder::OnWheel(const QWheelEvent& event) {
    const int delta = event.angleDelta().y();
    if (delta == 0) return false;  // a sideways wheel is not recorded
    FlushRelease();
    if (!recording_) return true;
    Record(delta < 0 ? OP_WHEEL_DOWN : OP_WHEEL_UP);
    return true;
}

void CMacroRecorder::Record(std::uint8_t code) {
    if (InsertDelay(clock_())) Added(lines_.Append(code));
}

int CMacroRecorder::DelayUnits(std::int64_t now) {
    if (delays_.mode == DelayMode::DefaultDelay) return (delays_.defaultDelayMs + kDelayUnitMs) / kDelayUnitMs - 1;
    if (!stamped_) {
        stamped_ = true;
        lastEventMs_ = now;
        return 0;
    }
    std::int64_t elapsed = now - lastEventMs_;
    lastEventMs_ = now;
    if (elapsed < 0) return 0;
    if (elapsed > kMaxElapsedMs) elapsed = kMaxElapsedMs;
    // Recorded delays are half the measured time.
    return static_cast<int>(elapsed / kDelayUnitMs / 2);
}

bool CMacroRecorder::InsertDelay(std::int64_t now) {
    if (lines_.DelayUnit() < kDelayUnitMs || delays_.mode == DelayMode::WithoutDelay) return true;
    const int units = DelayUnits(now);
    if (units <= 0) return true;
    if (lines_.Append(OP_DELAY, units) == CSkinLVCmdList::kBufferFull) {
        Stop();
        emit BufferFull();
        return false;
    }
    return true;
}

bool CMacroRecorder::FoundPress(std::uint8_t code) const {
    for (int i = std::min(lines_.CurrentLine(), lines_.Count() - 1); i >= 0; --i) {
        const std::uint8_t op = lines_.Line(i).instruction[0];
        if (op == code) return true;
        if (op == code + KEY_RELEASE) return false;
    }
    return false;
}

bool CMacroRecorder::Added(int result) {
    if (result == CSkinLVCmdList::kBufferFull) {
        Stop();
        emit BufferFull();
        return false;
    }
    if (result < 0) return false;
    lines_.Deselect(lines_.CurrentLine());
    lines_.Select(result);
    return true;
}

}  // namespace pallix
