// LAUNCH as a Linux user picks applications (desktop entries or programs, anything
// else refused) and HELP when the desktop cannot show the document.
#include <fstream>

#include "common/SettingNames.h"
#include "device/ButtonFunctions.h"
#include "tests/app/AppFixture.h"

namespace pallix::test {
namespace {

using namespace pallix::app;
namespace fs = std::filesystem;

class LaunchAndHelp : public AppTest {
protected:
    fs::path Write(const std::string& name, const std::string& body, fs::perms perms = fs::perms::owner_read |
                                                                                       fs::perms::owner_write) {
        const fs::path path = env_.Root() / "apps" / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << body;
        fs::permissions(path, perms);
        return path;
    }
    // Chooses `file` in the application chooser of button 3, remembering where it started.
    void Choose(const fs::path& file) {
        window_->applicationHook = [this, file](const std::string& start) -> std::optional<std::string> {
            startFolders_.push_back(start);
            return file.string();
        };
        Model().Command(IDC_MARKER_FIRST + 3);
        Model().Command(IDC_LAUNCH);
    }
    std::string Stored(std::string_view name) {
        std::string value;
        store_.ReadString(name, value);
        return value;
    }
    std::vector<std::string> startFolders_;
};

TEST_F(LaunchAndHelp, DesktopEntriesAndProgramsAreBoundEverythingElseIsRefused) {
    AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    const int p = Model().CurrentProfile();
    const fs::path ran = env_.Root() / "game.ran";
    const fs::path game = Write("game.sh", "#!/bin/sh\ntouch '" + ran.string() + "'\n", fs::perms::owner_all);
    const fs::path entry =
        Write("space-game.desktop", "[Desktop Entry]\nType=Application\nName=Space Game\nExec=" + game.string() + " %U\n");

    for (const fs::path& refused : {Write("readme.txt", "hello\n"),
                                    Write("site.desktop", "[Desktop Entry]\nType=Link\nName=Site\nURL=https://example.org\n")}) {
        notices_.clear();
        Choose(refused);
        ASSERT_EQ(notices_.size(), 1u) << refused;
        EXPECT_NE(notices_[0].find(refused.filename().string()), std::string::npos) << notices_[0];
        EXPECT_EQ(Stored(AppPathValueName(p, 3)), "") << "nothing bound";
        EXPECT_FALSE(Model().ChangesPending());
    }

    notices_.clear();
    Choose(entry);
    EXPECT_TRUE(notices_.empty());
    EXPECT_EQ(Stored(AppPathValueName(p, 3)), entry.string());
    EXPECT_EQ(Stored(AppNameValueName(p, 3)), "Space Game");
    EXPECT_EQ(Model().Button(3).kind, ButtonKind::kLauncher);
    EXPECT_EQ(Model().Button(3).name, "Space Game");
    // The mouse's launcher button starts it as the desktop would.
    RelayDeviceEvent(store_, poster_, OSD_LAUNCH, std::uint32_t(p * 9 + 3));
    EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(ran); }, 5000));

    Choose(game);
    EXPECT_EQ(Stored(AppNameValueName(p, 3)), "game");
}

TEST_F(LaunchAndHelp, TheChooserStartsWhereApplicationsAre) {
    AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    const fs::path game = Write("game", "#!/bin/sh\n", fs::perms::owner_all);
    Choose(game);
    Choose(game);
    fs::remove_all(game.parent_path());  // the stored program's folder went away
    Choose(game);
    ASSERT_EQ(startFolders_.size(), 3u);
    std::string firstDefault;
    for (const char* folder : kLaunchFolders)
        if (firstDefault.empty() && fs::is_directory(folder)) firstDefault = folder;
    EXPECT_EQ(startFolders_[0], firstDefault) << "nothing stored yet";
    EXPECT_EQ(startFolders_[1], game.parent_path().string());
    EXPECT_EQ(startFolders_[2], firstDefault);
    EXPECT_EQ(CMainFrameModel::LaunchStartFolder(""), firstDefault);
}

TEST_F(LaunchAndHelp, HelpSaysWhatIsMissingWhenTheDocumentCannotBeShown) {
    const fs::path document = Write("Information_en.html", "<html></html>\n");
    bool found = true;
    adjustParts_ = [&](ModelParts& parts) {
        parts.findHelpDocument = [&] { return found ? document.string() : std::string(); };
        parts.helpDocumentName = "Information_en.html";
    };
    StartWindow();
    std::vector<std::string> opened;
    std::string problem = "xdg-open is missing (package xdg-utils)";
    window_->openHook = [&](const std::string& target) {
        opened.push_back(target);
        return problem;
    };
    Model().Command(IDC_HELP);
    EXPECT_EQ(opened, std::vector<std::string>{document.string()});
    EXPECT_EQ(notices_, std::vector<std::string>{"Can't open Information_en.html: xdg-open is missing (package xdg-utils)."});
    EXPECT_EQ(std::count(messages_.begin(), messages_.end(), 15), 0) << "the document is there";
    problem.clear();
    messages_.clear();
    Model().Command(IDC_HELP);
    EXPECT_TRUE(messages_.empty()) << "opened: nothing to say";
    found = false;
    Model().Command(IDC_HELP);
    EXPECT_EQ(messages_, std::vector<int>{15});
}

}  // namespace
}  // namespace pallix::test
