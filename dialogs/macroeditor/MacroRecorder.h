#pragma once
// CMacroRecorder: turns the keys and mouse buttons that reach the program's own
// windows into lines of the macro, with the delays between them. It watches every
// event of the application (never the rest of the desktop) and swallows what it
// records, so nothing it records reaches a control; a left click on the STOP button
// is let through unrecorded.
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>

#include "macro/KeyConversion.h"
#include "macro/LineList.h"
#include "macro/MacroFile.h"

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace pallix {

class CMacroRecorder : public QObject {
    Q_OBJECT
public:
    static constexpr std::int64_t kMaxElapsedMs = 10000;
    // Milliseconds from any fixed point; real-time mode measures with it.
    using Clock = std::function<std::int64_t()>;

    explicit CMacroRecorder(macro::CSkinLVCmdList& lines, QObject* parent = nullptr);
    ~CMacroRecorder() override;

    void SetStopButton(QWidget* stop) { stop_ = stop; }
    void SetClock(Clock clock) { clock_ = std::move(clock); }

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
    void OnKey(const QKeyEvent& event);
    bool OnMouseButton(QObject* window, const QMouseEvent& event, bool press);
    bool OnWheel(const QWheelEvent& event);
    void Record(std::uint8_t code);
    // False when recording stopped because the delay did not fit.
    bool InsertDelay();
    int DelayUnits();
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
};

}  // namespace pallix
