#pragma once
// CMacroRecorder: turns the keys and mouse buttons that reach the program's own
// windows into lines of the macro, with the delays between them. It watches every
// event of the application (never the rest of the desktop) and swallows what it
// records, so nothing it records reaches a control; a left click on the STOP button
// is let through unrecorded.
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

#include "macro/KeyConversion.h"
#include "macro/LineList.h"
#include "macro/MacroFile.h"
#include "dialogs/macroeditor/QtVirtualKey.h"

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace pallix {

class DetectableAutoRepeat;

class CMacroRecorder : public QObject {
    Q_OBJECT
public:
    static constexpr std::int64_t kMaxElapsedMs = 10000;
    // How long a release of the key last pressed waits for the press that would
    // make it an auto-repeat.
    static constexpr int kRepeatWaitMs = 100;
    // Milliseconds from any fixed point; real-time mode measures with it.
    using Clock = std::function<std::int64_t()>;

    explicit CMacroRecorder(macro::CSkinLVCmdList& lines, QObject* parent = nullptr);
    ~CMacroRecorder() override;

    void SetStopButton(QWidget* stop) { stop_ = stop; }
    void SetClock(Clock clock) { clock_ = std::move(clock); }
    // On X11 recording asks the server for detectable auto-repeat; off, repeats
    // are told apart by their time stamps alone.
    void SetUseDetectableAutoRepeat(bool use) { useDetectable_ = use; }

    // False when already recording.
    bool Start(const macro::DelaySettings& delays);
    void Stop();
    bool Recording() const { return recording_; }

signals:
    // The script filled up; recording has already stopped.
    void BufferFull();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct HeldRelease {
        bool waiting = false;
        RecordedKey key;
        std::uint64_t timestamp = 0;
        std::int64_t clockMs = 0;
    };

    void OnKey(const QKeyEvent& event);
    void RecordKey(const RecordedKey& key, bool press, std::int64_t now);
    void FlushRelease();
    bool OnMouseButton(QObject* window, const QMouseEvent& event, bool press);
    bool OnWheel(const QWheelEvent& event);
    void Record(std::uint8_t code);
    // False when recording stopped because the delay did not fit.
    bool InsertDelay(std::int64_t now);
    int DelayUnits(std::int64_t now);
    bool FoundPress(std::uint8_t code) const;
    bool Added(int result);
    bool OverStop(QObject* window, const QMouseEvent& event) const;

    macro::CSkinLVCmdList& lines_;
    macro::CKeyConverter converter_;
    bool eventIsLeft_ = true;  // side of the modifier being converted
    QPointer<QWidget> stop_;
    Clock clock_;
    macro::DelaySettings delays_;
    bool recording_ = false;
    std::uint32_t lastKeyDown_ = 0;
    bool stamped_ = false;
    std::int64_t lastEventMs_ = 0;
    HeldRelease held_;
    QTimer releaseTimer_;
    bool useDetectable_ = true;
    std::unique_ptr<DetectableAutoRepeat> detectable_;
};

}  // namespace pallix
