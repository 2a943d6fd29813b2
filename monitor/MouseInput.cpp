#include "monitor/MouseInput.h"

#include <QPointer>

namespace pallix::monitor {

namespace {
constexpr std::size_t kReportBuffer = 64;
constexpr int kMaxReportsPerWake = 256;  // a flood never starves the rest of the loop
}  // namespace

struct MouseInput::Reader {
    InputNode node;
    std::unique_ptr<HidDevice> device;
    std::unique_ptr<QSocketNotifier> notifier;
    std::unique_ptr<QTimer> poll;
    std::uint8_t held = 0;
    bool failed = false;
};

MouseInput::MouseInput(std::vector<std::shared_ptr<HidBackend>> backends, ReportSink sink)
    : backends_(std::move(backends)), sink_(std::move(sink)) {}

MouseInput::~MouseInput() { Close(); }

void MouseInput::Close() {
    for (auto& r : readers_) {
        if (r->notifier) r->notifier->setEnabled(false);
        if (r->poll) r->poll->stop();
    }
    // Close may be called from inside a reader's own signal (a report that ends the
    // monitor): the notifiers go later.
    for (auto& r : readers_) {
        if (r->notifier) r->notifier.release()->deleteLater();
        if (r->poll) r->poll.release()->deleteLater();
    }
    readers_.clear();
    ++generation_;
}

int MouseInput::Open(const std::vector<InputNode>& nodes) {
    Close();
    for (const InputNode& node : nodes) {
        for (const auto& backend : backends_) {
            if (!backend->Owns(node.path)) continue;
            auto reader = std::make_unique<Reader>();
            reader->node = node;
            reader->device = backend->Open(node.path);
            if (!reader->device) break;
            Reader* raw = reader.get();
            const int fd = reader->device->InputFd();
            if (fd >= 0) {
                reader->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
                connect(reader->notifier.get(), &QSocketNotifier::activated, this, [this, raw] { Drain(*raw); });
            } else {
                reader->poll = std::make_unique<QTimer>();
                connect(reader->poll.get(), &QTimer::timeout, this, [this, raw] { Drain(*raw); });
                reader->poll->start(kInputPollMs);
            }
            readers_.push_back(std::move(reader));
            break;
        }
    }
    return OpenCount();
}

void MouseInput::Drain(Reader& reader) {
    if (reader.failed) return;
    const QPointer<MouseInput> alive(this);
    const std::uint64_t generation = generation_;
    std::uint8_t buffer[kReportBuffer];
    for (int i = 0; i < kMaxReportsPerWake; ++i) {
        const int n = reader.device->ReadInput(buffer, sizeof buffer, 0);
        if (n == 0) return;
        if (n < 0) {
            // Gone: stop listening to it until a rescan opens it again.
            reader.failed = true;
            if (reader.notifier) reader.notifier->setEnabled(false);
            if (reader.poll) reader.poll->stop();
            return;
        }
        sink_(reader.node, buffer, static_cast<std::size_t>(n), reader.held);
        // The sink may have closed or reopened every reader.
        if (!alive || generation_ != generation) return;
    }
}

}  // namespace pallix::monitor
