#pragma once
// An editor on a real settings store and a real macro folder in a TempEnv, shown on
// the offscreen platform; events go to its window as the window system sends them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWindow>

#include "dialogs/macroeditor/MacroRecorder.h"
#include "dialogs/macroeditor/SkinMacroDlg.h"
#include "skin/ColorCombox.h"
#include "skin/HoverButton.h"
#include "dialogs/macroeditor/SkinListCtrl.h"
#include <QLineEdit>
#include "macro/MacroFolder.h"
#include "platform/SqliteSettingsStore.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/TempEnv.h"

namespace pallix::test {

using Bytes = std::vector<std::uint8_t>;

class EditorFixture : public ::testing::Test {
protected:
    TempEnv env;
    std::filesystem::path folder = env.Root() / "home" / "Documents" / "PALLIX Ostrel";
    SqliteSettingsStore store{(env.ConfigDir() / "settings.sqlite3").string()};
    CSkinDlg prompt;
    std::vector<int> reported;
    std::unique_ptr<CSkinMacroDlg> editor;
    std::int64_t now = 1000;
    QStringList shown;  // messages the prompt showed

    void SetUp() override {
        std::filesystem::create_directories(folder);
        std::filesystem::create_directories(env.ConfigDir());
        prompt.Initialise(QFont(), QFont());
        editor = std::make_unique<CSkinMacroDlg>(store, folder, prompt, 1, 3,
                                                 [this](int p) { reported.push_back(p); });
        editor->Recorder()->SetClock([this] { return now; });
        editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    }
    void TearDown() override {
        if (editor->Recording()) editor->OnCommand(CSkinMacroDlg::IDC_STOP);
    }

    QWindow* Window() { return editor->windowHandle(); }

    // Shows the editor afresh, as the main window does each time.
    void Reopen() {
        editor->hide();
        editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    }

    // Makes a macro file and selects it.
    void OpenMacro(const std::string& name) {
        ASSERT_TRUE(macro::CreateMacroFile(folder, name).ok);
        editor->MacroList()->addItem(QString::fromStdString(name));
        editor->SelectMacro(editor->MacroList()->count() - 1);
        ASSERT_EQ(editor->MacroName(), QString::fromStdString(name));
    }
    // The next message the prompt shows is taken down and answered with OK.
    void AnswerNextPrompt() {
        WhenModalOpens([this](QWidget* w) {
            shown << prompt.text;
            static_cast<CSkinDlg*>(w)->done(CSkinDlg::kResultOk);
        });
    }

    void Key(QEvent::Type type, Qt::Key key, quint32 scan = 0, bool repeat = false) {
        QKeyEvent e(type, key, Qt::NoModifier, scan, 0, 0, QString(), repeat);
        QApplication::sendEvent(Window(), &e);
    }
    void Tap(Qt::Key key, quint32 scan = 0) {
        Key(QEvent::KeyPress, key, scan);
        Key(QEvent::KeyRelease, key, scan);
    }
    void Wheel(int delta) {
        QWheelEvent e(QPointF(100, 200), QPointF(100, 200), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Window(), &e);
    }
    QPoint CentreOf(int id) { return editor->Control(id)->geometry().center(); }

    Bytes Script() { return editor->Lines().EncodeScript(); }
    std::vector<std::uint8_t> Opcodes() {
        std::vector<std::uint8_t> ops;
        for (int i = 0; i < editor->Lines().Count(); ++i) ops.push_back(editor->Lines().Line(i).instruction[0]);
        return ops;
    }
    void Record() {
        editor->OnCommand(CSkinMacroDlg::IDC_RECORD);
        ASSERT_TRUE(editor->Recording());
    }
    void ChooseMode(int modeButton, const QString& defaultDelay = QString()) {
        editor->OnCommand(modeButton);
        if (!defaultDelay.isEmpty()) editor->DefaultField()->setText(defaultDelay);
        editor->OnCommand(CSkinMacroDlg::IDC_CONFIGURE);
    }
};

}  // namespace pallix::test
