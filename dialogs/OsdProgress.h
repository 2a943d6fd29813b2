#pragma once
// COsdProgress: the busy indicator shown while many bytes move to or from the mouse.
// A borderless, translucent, topmost window in the middle of the screen with a ring
// of twelve bars turning every 100 ms and a caption picture; clicks pass through it.
//
//   progress.Create(COsdProgress::kFrames);        // once, at start-up
//   progress.Start(COsdProgress::kCaptionReading); // a stepped transfer begins
//   progress.Stop();                               // it ended (finished or failed)
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <span>
#include <vector>

#include "common/PromptContract.h"

class QWidget;

namespace pallix {

class COsdProgress : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimerId = 0x3000;
    static constexpr int kIntervalMs = 100;
    static constexpr int kOpacity = 220;  // of 255
    static constexpr int kFrameCount = 12;
    static constexpr int kFrames[kFrameCount] = {405, 406, 407, 408, 409, 410, 411, 412, 413, 414, 415, 416};
    static constexpr int kCaptionReading = busy::kCaptionReading;
    static constexpr int kCaptionWriting = busy::kCaptionWriting;
    static constexpr QRgb kKey = qRgb(0, 255, 0);

    COsdProgress();
    ~COsdProgress() override;

    // Copies the frame ids and makes the (hidden) window. False without ids or when
    // there is no screen to show it on.
    bool Create(std::span<const int> frameIds);
    // Shows frame 0 with the caption and starts turning. False before Create.
    bool Start(int captionId);
    // Stops the timer and hides the window.
    void Stop();
    // Timer 0x3000 turns the wheel one step; other ids are ignored.
    void OnTimer(int timerId);

    bool IsCreated() const { return window_ != nullptr; }
    bool IsRunning() const { return timer_.isActive(); }
    int FrameIndex() const { return frameIndex_; }
    int FrameCount() const { return static_cast<int>(frameIds_.size()); }
    int CaptionId() const { return captionId_; }
    int Interval() const { return interval_; }
    const QImage& FrameBitmap() const { return frame_; }
    QWidget* Window() const { return window_; }

private:
    bool ComposeFrame(int index);

    std::vector<int> frameIds_;
    int frameIndex_ = 0;
    int captionId_ = 0;
    int interval_ = kIntervalMs;
    QImage frame_;
    QPointer<QWidget> window_;
    QTimer timer_;
};

}  // namespace pallix
