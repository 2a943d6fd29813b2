// Stands in for a StatusNotifier host's watcher on the session bus, as a panel
// starting after the monitor would register it: takes org.kde.StatusNotifierWatcher,
// says a host is there, and appends every item that registers to the file named by
// its first argument.
#include <fstream>
#include <string>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>

namespace {

class Watcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)
    Q_PROPERTY(int ProtocolVersion READ Protocol)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ Items)
public:
    explicit Watcher(std::string log) : log_(std::move(log)) {}
    bool HostRegistered() const { return true; }
    int Protocol() const { return 0; }
    QStringList Items() const { return items_; }

public slots:
    void RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message) {
        // Items may register by object path only; then the sender is the service.
        const QString name = service.startsWith(QLatin1Char('/')) ? message.service() : service;
        items_ << name;
        std::ofstream(log_, std::ios::app) << "item " << name.toStdString() << std::endl;
        emit StatusNotifierItemRegistered(name);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    std::string log_;
    QStringList items_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Watcher watcher(argc > 1 ? argv[1] : "/dev/null");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                QDBusConnection::ExportAllProperties) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")))
        return 1;
    emit watcher.StatusNotifierHostRegistered();
    return app.exec();
}

#include "FakeTrayWatcher.moc"
