#pragma once
// A real pallix-vmouse of either model, a CIcRK44 that has loaded the mouse's 267
// bytes from it, a settings store in a private folder and a mailbox standing in for
// the on-screen display. Pauses are recorded instead of slept.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <memory>
#include <vector>

#include "device/CIcRK44.h"
#include "device/HidPathOpener.h"
#include "device/TransferLists.h"
#include "platform/MailboxPoster.h"
#include "platform/SqliteSettingsStore.h"
#include "platform/VirtualHidBackend.h"
#include "platform/qt/QtMailbox.h"
#include "tests/support/VmouseProcess.h"
#include "tests/skin/QtApp.h"

namespace pallix::test {

struct Write {
    int address, value;
    friend bool operator==(const Write&, const Write&) = default;
};
inline void PrintTo(const Write& w, std::ostream* os) { *os << "{" << w.address << ", " << w.value << "}"; }

class DeviceDialogFixture {
public:
    explicit DeviceDialogFixture(int model, const char* name)
        : vmouse(env, name, {"--model", model == 0x1801 ? "0x1801" : "0x1802"}) {
        memory.ResetCache();
        memory.SetModel(model);
        if (!vmouse.Ready() || !memory.OpenDevice(vmouse.Path())) {
            ADD_FAILURE() << "no virtual mouse";
            return;
        }
        for (int address : BuildLoadList().addresses) memory.LoadByte(address);
        PublishHandle(store, kOsdHandle, osd.handle());
        QObject::connect(&osd, &QtMailbox::messageReceived, [this](const Message& m) { osdMessages.push_back(m); });
        vmouse.ClearTrace();
    }

    // The mouse and the cache agree on a byte the test chose.
    void Known(int address, int value) {
        ASSERT_EQ(memory.WriteByte(address, value), 1);
        memory.StoreClean(address, value);
        vmouse.ClearTrace();
    }

    std::vector<Write> Writes() const {
        std::vector<Write> out;
        for (const auto& t : vmouse.Trace())
            if (t.direction == "set" && !t.failed && t.bytes.size() == 9 && t.bytes[1] == 0xDE)
                out.push_back({t.bytes[2] | (t.bytes[4] << 8), t.bytes[3]});
        return out;
    }
    int Controls() const {
        int n = 0;
        for (const auto& t : vmouse.Trace())
            n += t.direction == "set" && !t.failed && t.bytes.size() == 9 && t.bytes[1] == 0xC4 && t.bytes[2] == 0;
        return n;
    }
    int MouseByte(int address) const { return vmouse.Memory().at(std::size_t(address)); }

    // Lets queued slider notices and mailbox messages arrive.
    void Settle(int ms = 50) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    TempEnv env;
    VmouseProcess vmouse;
    std::shared_ptr<HidPathOpener> opener =
        std::make_shared<BackendPathOpener>(std::vector<std::shared_ptr<HidBackend>>{std::make_shared<VirtualHidBackend>()});
    std::vector<int> pauses;
    CIcRK44 memory{opener, [](int) {}};
    Sleeper sleeper = [this](int ms) { pauses.push_back(ms); };
    SqliteSettingsStore store;
    MailboxPoster poster;
    QtMailbox osd;
    std::vector<Message> osdMessages;
};

}  // namespace pallix::test
