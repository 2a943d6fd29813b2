#pragma once
// What the performance and lighting dialogs share: a frameless face picture that
// gives the window its shape, a drop shadow, dragging by the top band, a mailbox
// whose handle is published while the dialog runs, and the pauses between writes.
#include <QDialog>
#include <QImage>
#include <QPoint>

#include <string>

#include "common/Messages.h"
#include "common/Posting.h"
#include "common/SettingsStore.h"
#include "device/Sleeper.h"
#include "skin/SkinnedWindow.h"

class QPainter;

namespace pallix {

class CWndShadow;
class QtMailbox;

class CDeviceDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;
    static constexpr int kDragBand = 40;  // top pixels that move the window

    // The handle is published under `handleName` while the dialog is shown.
    CDeviceDialog(SettingsStore& store, const char* handleName, Sleeper sleeper, QWidget* parent);
    ~CDeviceDialog() override;

    // The published handle (0 when the mailbox could not be opened).
    WindowHandle Handle() const;
    const QImage& Face() const { return face_; }

public slots:
    // A message as the mailbox delivers it; tests and the owner may call it directly.
    void OnMailboxMessage(const pallix::Message& message);

protected:
    // Face picture, shape and shadow; the window is centred on the screen.
    void SetFace(int pictureId);
    void Publish();
    void Withdraw();
    void Pause(int ms) { sleeper_(ms); }
    SettingsStore& Store() { return store_; }

    virtual void OnDeviceEvent(std::uint32_t wParam, std::uint32_t lParam) = 0;
    virtual void OnSliderChanged(int /*controlId*/, int /*pos*/) {}

    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    // Extra painting over the face (the lighting dialog's connection line).
    virtual void PaintOver(QPainter&) {}

private:
    SettingsStore& store_;
    std::string handleName_;
    Sleeper sleeper_;
    QtMailbox* mailbox_;
    CWndShadow* shadow_;
    QImage face_;
    CSkinnedWindow skin_{*this};
};

}  // namespace pallix
