#pragma once
// Reads the input reports of the recognised mice on the UI thread: woken by the
// device's input descriptor where it has one, polled otherwise. A device that fails
// (unplugged) is closed; the next rescan opens it again if it is back.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include "device/HidBackend.h"
#include "device/InputNode.h"

namespace pallix::monitor {

// Poll interval for devices without an input descriptor.
inline constexpr int kInputPollMs = 8;

class MouseInput : public QObject {
    Q_OBJECT
public:
    // The node, the report, and the node's side-button state kept between its reports.
    using ReportSink = std::function<void(const InputNode&, const std::uint8_t*, std::size_t, std::uint8_t& held)>;

    MouseInput(std::vector<std::shared_ptr<HidBackend>> backends, ReportSink sink);
    ~MouseInput() override;

    // Opens these nodes (closing whatever was open); returns how many were opened.
    int Open(const std::vector<InputNode>& nodes);
    void Close();
    int OpenCount() const { return static_cast<int>(readers_.size()); }

private:
    struct Reader;
    void Drain(Reader& reader);

    std::vector<std::shared_ptr<HidBackend>> backends_;
    ReportSink sink_;
    std::vector<std::unique_ptr<Reader>> readers_;
    std::uint64_t generation_ = 0;  // counts Close()
};

}  // namespace pallix::monitor
