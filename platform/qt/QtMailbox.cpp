#include "platform/qt/QtMailbox.h"

#include <QPointer>
#include <QSocketNotifier>

namespace pallix {

QtMailbox::QtMailbox(QObject* parent) : QObject(parent) {
    if (!mailbox_.IsOpen()) return;
    notifier_ = new QSocketNotifier(mailbox_.Fd(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QtMailbox::drain);
}

QtMailbox::~QtMailbox() = default;

void QtMailbox::drain() {
    // Everything waiting, each message handed on as soon as it is read: a receiver
    // that opens a modal loop in its handler still gets the later ones in order,
    // from that loop. A handler may also close the window, and with it this mailbox.
    const QPointer<QtMailbox> alive(this);
    while (alive) {
        const std::optional<Message> message = mailbox_.Receive();
        if (!message) return;
        emit messageReceived(*message);
    }
}

}  // namespace pallix
