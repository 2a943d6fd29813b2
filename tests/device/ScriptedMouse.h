#pragma once
// A mouse that answers the memory protocol from an in-memory image and records
// every report it takes or gives, byte for byte. Faults are scripted per report.
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/HidPathOpener.h"
#include "device/MemoryMap.h"
#include "device/ReportFormat.h"

namespace pallix::test {

using Report = std::vector<std::uint8_t>;

struct Exchange {
    enum Kind { kOpen, kSet, kGet } kind;
    Report bytes;   // set: what was sent; get: the buffer as handed in
    bool ok = true;
    Report answer;  // get: what came back
};

class ScriptedMouse : public HidPathOpener, public std::enable_shared_from_this<ScriptedMouse> {
public:
    std::string path = "scripted:0";
    std::array<std::uint8_t, memmap::kMemorySize> memory{};
    std::vector<Exchange> log;
    // Faults, each counting down per event of its kind.
    int failOpens = 0, failSets = 0, failGets = 0, wrongEchoes = 0;
    // Called before each set report; returning false makes it fail.
    std::function<bool(const Report&)> onSet;

    ScriptedMouse() {
        memory[memmap::kSignatureAddressLow] = memmap::kSignatureLow;
        memory[memmap::kSignatureAddressHigh] = memmap::kSignatureHigh;
    }

    std::unique_ptr<HidDevice> Open(const std::string& p) override;

    std::vector<Report> Sets() const {
        std::vector<Report> out;
        for (const auto& e : log)
            if (e.kind == Exchange::kSet && e.ok) out.push_back(e.bytes);
        return out;
    }
    // The successful set reports, first five bytes each (what carries meaning).
    std::vector<Report> Requests() const {
        std::vector<Report> out;
        for (const auto& r : Sets()) out.emplace_back(r.begin(), r.begin() + 5);
        return out;
    }
    std::vector<Report> Controls() const {
        std::vector<Report> out;
        for (const auto& r : Sets())
            if (r[1] == report::kCmdControl) out.push_back({r[2], r[3], r[4]});
        return out;
    }
    std::vector<int> WrittenAddresses() const {
        std::vector<int> out;
        for (const auto& r : Sets())
            if (r[1] == report::kCmdWrite) out.push_back(r[2] | (r[4] << 8));
        return out;
    }
    int Count(Exchange::Kind kind) const {
        int n = 0;
        for (const auto& e : log) n += e.kind == kind;
        return n;
    }

    // Bytes 4-8 of every read response (a real mouse may leave anything there).
    std::array<std::uint8_t, 5> responseTail{};
    // State shared with the open devices.
    std::array<std::uint8_t, report::kFeatureSize> response{};
};

class ScriptedMouseDevice : public HidDevice {
public:
    explicit ScriptedMouseDevice(std::shared_ptr<ScriptedMouse> mouse) : m_(std::move(mouse)) {}

    int SetFeature(const std::uint8_t* data, std::size_t length) override {
        Report r(data, data + length);
        bool ok = length == report::kFeatureSize && !(m_->onSet && !m_->onSet(r));
        if (ok && m_->failSets > 0) {
            --m_->failSets;
            ok = false;
        }
        m_->log.push_back({Exchange::kSet, r, ok, {}});
        if (!ok) return -1;
        const int address = r[2] | (r[4] << 8);
        if (r[1] == report::kCmdRead) {
            m_->response = {};
            m_->response[1] = r[2];
            m_->response[2] = address < memmap::kMemorySize ? m_->memory[static_cast<std::size_t>(address)] : 0;
            m_->response[3] = r[4];
            std::copy(m_->responseTail.begin(), m_->responseTail.end(), m_->response.begin() + 4);
            if (m_->wrongEchoes > 0) {
                --m_->wrongEchoes;
                ++m_->response[1];
            }
        } else if (r[1] == report::kCmdWrite && address < memmap::kMemorySize) {
            m_->memory[static_cast<std::size_t>(address)] = r[3];
        }
        return static_cast<int>(length);
    }

    int GetFeature(std::uint8_t* data, std::size_t length) override {
        bool ok = length == report::kFeatureSize;
        if (ok && m_->failGets > 0) {
            --m_->failGets;
            ok = false;
        }
        Report before(data, data + length);
        if (ok) std::copy(m_->response.begin(), m_->response.end(), data);
        m_->log.push_back({Exchange::kGet, before, ok, ok ? Report(data, data + length) : Report{}});
        return ok ? static_cast<int>(length) : -1;
    }

    int ReadInput(std::uint8_t*, std::size_t, int) override { return -1; }
    std::optional<std::string> ProductString() override { return std::nullopt; }
    std::optional<std::string> ManufacturerString() override { return std::nullopt; }

private:
    std::shared_ptr<ScriptedMouse> m_;
};

inline std::unique_ptr<HidDevice> ScriptedMouse::Open(const std::string& p) {
    bool ok = p == path;
    if (ok && failOpens > 0) {
        --failOpens;
        ok = false;
    }
    log.push_back({Exchange::kOpen, {}, ok, {}});
    if (!ok) return nullptr;
    return std::make_unique<ScriptedMouseDevice>(shared_from_this());
}

}  // namespace pallix::test
