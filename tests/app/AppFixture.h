#pragma once
// The main window in this process against pallix-vmouse processes, with a private
// runtime, config and documents folder, scripted answers for the boxes, and a
// mailbox standing in for the on-screen display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QTest>

#include "app/window/MainFrameDlg.h"
#include "common/Posting.h"
#include "device/MemoryMap.h"
#include "platform/HidBackends.h"
#include "platform/Mailbox.h"
#include "platform/MailboxPoster.h"
#include "platform/SqliteSettingsStore.h"
#include "platform/qt/QtMailbox.h"
#include "tests/support/VmouseProcess.h"
#include "tests/support/TempEnv.h"

namespace pallix::test {

inline QApplication& AppTestApp() {
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

struct AppTestEnvironment : ::testing::Environment {
    void SetUp() override { AppTestApp(); }
};
inline const bool kAppTestEnvironment = (::testing::AddGlobalTestEnvironment(new AppTestEnvironment), true);

using Bytes = std::vector<std::uint8_t>;

// Control reports (c4 P1 P2 P3) and memory writes (de) a mouse received, in order.
inline std::vector<Bytes> ControlsOf(const VmouseProcess& mouse) {
    std::vector<Bytes> out;
    for (const auto& line : mouse.Trace())
        if (line.direction == "set" && line.bytes.size() >= 5 && line.bytes[1] == 0xc4)
            out.push_back({line.bytes[2], line.bytes[3], line.bytes[4]});
    return out;
}

inline std::vector<std::pair<int, int>> WritesOf(const VmouseProcess& mouse) {
    std::vector<std::pair<int, int>> out;
    for (const auto& line : mouse.Trace())
        if (line.direction == "set" && line.bytes.size() >= 5 && line.bytes[1] == 0xde && !line.failed)
            out.emplace_back(line.bytes[4] * 256 + line.bytes[2], line.bytes[3]);
    return out;
}

class AppTest : public ::testing::Test {
protected:
    AppTest() {
        setenv("PALLIX_HID_BACKENDS", "virtual", 1);
        documents_ = env_.Root() / "home" / "Documents";
    }
    ~AppTest() override {
        window_.reset();
        unsetenv("PALLIX_HID_BACKENDS");
    }

    VmouseProcess& AddMouse(const std::string& name, std::vector<std::string> extra = {}) {
        mice_.push_back(std::make_unique<VmouseProcess>(env_, name, std::move(extra)));
        EXPECT_TRUE(mice_.back()->Ready());
        return *mice_.back();
    }

    // Makes the window, publishes the display's mailbox and starts.
    void StartWindow(bool automation = false) {
        osd_ = std::make_unique<QtMailbox>();
        QObject::connect(osd_.get(), &QtMailbox::messageReceived, [this](const Message& m) { osdMessages_.push_back(m); });
        PublishHandle(store_, kOsdHandle, osd_->handle());
        app::ModelParts parts;
        parts.store = &store_;
        parts.poster = &poster_;
        parts.backends = MakeDefaultHidBackends();
        parts.documentsDir = documents_.string();
        parts.translated = translated_;
        if (adjustParts_) adjustParts_(parts);
        window_ = std::make_unique<app::CMainFrameDlg>(std::move(parts), automation);
        window_->promptHook = [this](app::PromptRequest& r) {
            prompts_.push_back(r.mode);
            if (answers_.empty()) return prompt::kResultCancel;
            auto answer = answers_.front();
            answers_.pop_front();
            r.value = answer.value;
            r.text = answer.text;
            r.repeatOption = answer.repeatOption;
            return answer.result;
        };
        if (selection_) window_->selectionHook = selection_;
        window_->messageHook = [this](int index, const std::string& text) {
            messages_.push_back(index);
            if (index < 0) notices_.push_back(text);
        };
        window_->Initialise();
    }

    void StartWindowWithSelection(std::function<int(app::CMainFrameModel&, const std::vector<std::string>&)> hook) {
        selection_ = std::move(hook);
        StartWindow();
    }

    app::CMainFrameModel& Model() { return window_->Model(); }

    // Changes the first `count` parameter bytes of the current profile's buttons in
    // the cache, so that Apply has exactly that many bytes to write.
    void DirtyButtonParams(int count, int delta) {
        const int p = Model().CurrentProfile();
        for (int i = 0; i < count; ++i) {
            const int address = memmap::ButtonParamAddress(p, i / 4, i % 4);
            Model().Memory().SetCached(address, (Model().Memory().Entry(address).value + delta) & 0xFF);
        }
    }

    bool WaitForPage(int page, int ms = 10000) {
        return QTest::qWaitFor([&] { return Model().Page() == page && !Model().Busy(); }, ms);
    }
    bool WaitIdle(int ms = 10000) {
        return QTest::qWaitFor([&] { return !Model().Busy() && !Model().Engine().Running(); }, ms);
    }
    bool WaitForOsd(const Message& m, int ms = 3000) {
        return QTest::qWaitFor([&] {
            for (const auto& got : osdMessages_) if (got == m) return true;
            return false;
        }, ms);
    }

    struct Answer {
        Answer(int r = prompt::kResultOk, int v = 0, std::string t = {}, int option = -1)
            : result(r), value(v), text(std::move(t)), repeatOption(option) {}
        int result;
        int value;
        std::string text;
        int repeatOption;
    };

    TempEnv env_;
    std::filesystem::path documents_;
    SqliteSettingsStore store_;
    MailboxPoster poster_;
    std::vector<std::unique_ptr<VmouseProcess>> mice_;
    std::unique_ptr<QtMailbox> osd_;
    std::vector<Message> osdMessages_;
    std::unique_ptr<app::CMainFrameDlg> window_;
    std::deque<Answer> answers_;
    std::function<int(app::CMainFrameModel&, const std::vector<std::string>&)> selection_;
    std::vector<int> prompts_;
    std::vector<int> messages_;
    bool translated_ = false;  // a non-English language file in use
    std::function<void(app::ModelParts&)> adjustParts_;  // before the window is made
    std::vector<std::string> notices_;  // texts of the messages -1
};

}  // namespace pallix::test
