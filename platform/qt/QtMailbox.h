#pragma once
// A window's mailbox on the Qt event loop: every message posted to handle() is
// delivered, in the order it was posted, as messageReceived() on the thread that
// owns this object.
#include <QObject>

#include "common/Messages.h"
#include "platform/Mailbox.h"

class QSocketNotifier;

namespace pallix {

class QtMailbox : public QObject {
    Q_OBJECT
public:
    explicit QtMailbox(QObject* parent = nullptr);
    ~QtMailbox() override;

    bool isOpen() const { return mailbox_.IsOpen(); }
    // The value the window publishes (PublishHandle).
    WindowHandle handle() const { return mailbox_.Handle(); }
    std::uint64_t droppedCount() const { return mailbox_.DroppedCount(); }

signals:
    void messageReceived(const pallix::Message& message);

private:
    void drain();

    Mailbox mailbox_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace pallix
