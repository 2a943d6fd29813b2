#pragma once
// Several pointer-settings backends seen as one: every setting goes to each backend
// and the best result is reported. What no backend can tell is answered with the
// value last set here, so a profile still keeps what the user chose.
#include <memory>
#include <vector>

#include "common/PointerSettings.h"

namespace pallix {

class CompositePointerSettings final : public PointerSettings {
public:
    // Backends in order of preference for reading.
    explicit CompositePointerSettings(std::vector<std::unique_ptr<PointerSettings>> backends);

    std::optional<int> Speed() override;
    std::optional<int> DoubleClickTime() override;
    std::optional<int> WheelScrollLines() override;
    PointerResult SetSpeed(int speed) override;
    PointerResult SetDoubleClickTime(int ms) override;
    PointerResult SetWheelScrollLines(int lines) override;
    // The best any backend reaches.
    PointerResult Reach(PointerSetting setting) override;
    const char* Name() const override { return "this desktop"; }

    std::size_t BackendCount() const { return backends_.size(); }
    const PointerSettings& Backend(std::size_t i) const { return *backends_[i]; }
    PointerSettings& Backend(std::size_t i) { return *backends_[i]; }
    // What the last Set of that setting achieved, per backend in order; empty
    // before the first.
    const std::vector<PointerResult>& LastResults(PointerSetting setting) const;

private:
    using Getter = std::optional<int> (PointerSettings::*)();
    using Setter = PointerResult (PointerSettings::*)(int);
    std::optional<int> Read(Getter get, std::optional<int> remembered);
    PointerResult Write(Setter set, int value, bool valid, std::optional<int>& remembered, PointerSetting setting);

    std::vector<std::unique_ptr<PointerSettings>> backends_;
    std::optional<int> speed_, doubleClick_, wheel_;
    std::vector<PointerResult> last_[3];
};

// Best of two results: Applied, then OwnWindowsOnly, then Failed, then Unsupported.
PointerResult BetterPointerResult(PointerResult a, PointerResult b);

}  // namespace pallix
