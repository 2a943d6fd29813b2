#pragma once
// A HidBackend whose devices, report results and hotplug changes a test sets up.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "device/HidBackend.h"

namespace pallix::test {

struct ScriptedState {
    std::vector<HidDeviceInfo> devices;
    bool openFails = false;
    std::vector<std::vector<std::uint8_t>> sets;  // every set-feature report received
    std::vector<std::uint8_t> getReply;           // what get-feature returns
    std::deque<std::vector<std::uint8_t>> inputs;
    std::vector<HidChange> pendingChanges;        // handed out by the next watch poll
    int watches = 0;
};

class ScriptedDevice : public HidDevice {
public:
    ScriptedDevice(std::shared_ptr<ScriptedState> s, std::optional<std::string> product)
        : s_(std::move(s)), product_(std::move(product)) {}
    int SetFeature(const std::uint8_t* data, std::size_t length) override {
        s_->sets.emplace_back(data, data + length);
        return static_cast<int>(length);
    }
    int GetFeature(std::uint8_t* data, std::size_t length) override {
        if (s_->getReply.empty() || s_->getReply.size() > length) return -1;
        std::copy(s_->getReply.begin(), s_->getReply.end(), data);
        return static_cast<int>(s_->getReply.size());
    }
    int ReadInput(std::uint8_t* data, std::size_t length, int) override {
        if (s_->inputs.empty()) return 0;
        auto r = s_->inputs.front();
        s_->inputs.pop_front();
        const std::size_t n = std::min(length, r.size());
        std::copy_n(r.begin(), n, data);
        return static_cast<int>(n);
    }
    std::optional<std::string> ProductString() override { return product_; }
    std::optional<std::string> ManufacturerString() override { return std::nullopt; }

private:
    std::shared_ptr<ScriptedState> s_;
    std::optional<std::string> product_;
};

class ScriptedWatch : public HidWatch {
public:
    explicit ScriptedWatch(std::shared_ptr<ScriptedState> s) : s_(std::move(s)) { ++s_->watches; }
    ~ScriptedWatch() override { --s_->watches; }
    std::vector<int> Fds() const override { return {}; }
    std::vector<HidChange> Poll() override { return std::exchange(s_->pendingChanges, {}); }

private:
    std::shared_ptr<ScriptedState> s_;
};

class ScriptedBackend : public HidBackend {
public:
    std::shared_ptr<ScriptedState> state = std::make_shared<ScriptedState>();

    std::string Name() const override { return "scripted"; }
    bool Owns(const std::string&) const override { return true; }
    std::vector<HidDeviceInfo> Enumerate() override { return state->devices; }
    std::unique_ptr<HidDevice> Open(const std::string& path) override {
        if (state->openFails) return nullptr;
        for (const auto& d : state->devices)
            if (d.path == path) return std::make_unique<ScriptedDevice>(state, d.product);
        return nullptr;
    }
    std::unique_ptr<HidWatch> Watch() override { return std::make_unique<ScriptedWatch>(state); }
};

// A scheduler the test drives by hand.
class ManualScheduler : public HidWatchScheduler {
public:
    bool startResult = true;
    int starts = 0;
    bool running = false;
    std::function<void()> wake;

    bool Start(const std::vector<int>&, std::function<void()> w) override {
        ++starts;
        if (!startResult) return false;
        running = true;
        wake = std::move(w);
        return true;
    }
    void Stop() override {
        running = false;
        wake = nullptr;
    }
    void Tick() {
        if (running && wake) wake();
    }
};

}  // namespace pallix::test
