// The editor's files, delays, line buttons, list control and published handle, on
// real files and a real settings store.
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>

#include <fstream>

#include "app/texts/qt/TextFonts.h"
#include "common/Posting.h"
#include "dialogs/macroeditor/DelayField.h"
#include "dialogs/macroeditor/SkinHeaderCtrl.h"
#include "dialogs/macroeditor/SkinListCtrl.h"
#include "macro/MacroFile.h"
#include "platform/MailboxPoster.h"
#include "skin/SkinVerticleScrollbar.h"
#include "tests/macroeditor/EditorFixture.h"

namespace pallix::test {
namespace {

using namespace pallix::macro;
namespace fs = std::filesystem;

Bytes FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Editor : public EditorFixture {};

TEST(DelayFieldRules, TypedTextsAndUnitSteps) {
    struct Case { const char* typed; const char* kept; };
    for (const Case c : {Case{"0", "0"}, Case{"05", "0"}, Case{"6000", "5000"}, Case{"12a", "12"}, Case{"a", ""},
                         Case{"5000", "5000"}, Case{"50000", "5000"}, Case{"", ""}})
        EXPECT_EQ(delayfield::Validated(QString::fromLatin1(c.typed)), QString::fromLatin1(c.kept)) << c.typed;
    EXPECT_EQ(delayfield::UnitMore(110), 150);
    EXPECT_EQ(delayfield::UnitLess(110), 75);
    EXPECT_EQ(delayfield::UnitLess(30), 0);
    EXPECT_EQ(delayfield::UnitMore(5000), 5000);
    EXPECT_EQ(delayfield::UnitMore(delayfield::ReadNumber(QStringLiteral("0x64"), 19)), 125);
    EXPECT_EQ(delayfield::ReadNumber(QStringLiteral(" 1,000 "), 19), 1000);
    EXPECT_EQ(delayfield::DefaultDelayOf(4990), 4975);
    EXPECT_EQ(delayfield::DefaultDelayOf(10), 25);
    EXPECT_EQ(delayfield::DefaultDelayOf(9999), 5000);
}

TEST_F(Editor, FieldsFollowTheTypingRuleAndUnitButtons) {
    QLineEdit* field = editor->DelayField();
    field->clear();
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("05"));
    EXPECT_EQ(field->text(), "0");
    field->clear();
    QTest::keyClicks(field, QStringLiteral("12a"));
    EXPECT_EQ(field->text(), "12");
    field->setText(QStringLiteral("110"));
    editor->OnCommand(CSkinMacroDlg::IDC_UNIT_MORE);
    EXPECT_EQ(field->text(), "150");
    field->setText(QStringLiteral("110"));
    editor->OnCommand(CSkinMacroDlg::IDC_UNIT_LESS);
    EXPECT_EQ(field->text(), "75");
}

TEST_F(Editor, InsertAdjustMoveDeleteAndTheLineButtons) {
    OpenMacro("Lines");
    AnswerNextPrompt();
    editor->OnCommand(CSkinMacroDlg::IDC_INSERT);  // no command chosen
    EXPECT_EQ(shown, QStringList{QStringLiteral("Bad Selected Macro!")});
    editor->SelectCommand(0);
    editor->OnCommand(CSkinMacroDlg::IDC_INSERT);
    editor->SelectCommand(1);
    editor->OnCommand(CSkinMacroDlg::IDC_INSERT);
    ASSERT_EQ(editor->Lines().Count(), 2);
    EXPECT_EQ(editor->Lines().Line(1).instruction[1], 0x81);
    EXPECT_TRUE(editor->Changed());

    editor->Lines().SetSelection({1});
    editor->OnCommand(CSkinMacroDlg::IDC_ADJUST);  // the field still says 0
    editor->DelayField()->setText(QStringLiteral("250"));
    editor->OnCommand(CSkinMacroDlg::IDC_ADJUST);
    EXPECT_EQ(editor->Lines().Line(1).delayCount, 11);
    editor->Lines().SetSelection({1});
    editor->OnCommand(CSkinMacroDlg::IDC_UP);
    EXPECT_EQ(editor->Lines().Line(0).instruction[1], 0x81);
    EXPECT_FALSE(editor->Control(CSkinMacroDlg::IDC_UP)->isEnabled());
    EXPECT_TRUE(editor->Control(CSkinMacroDlg::IDC_DOWN)->isEnabled());

    // With no line selected DELETE stays reachable and asks before clearing all.
    editor->SelectLines({});
    QWidget* del = editor->Control(CSkinMacroDlg::IDC_DELETE);
    ASSERT_TRUE(del->isEnabled());
    WhenModalOpens([this](QWidget*) { prompt.done(CSkinDlg::kResultCancel); });
    QTest::mouseClick(del, Qt::LeftButton);  // asks; NO keeps the lines
    EXPECT_EQ(editor->Lines().Count(), 2);
    WhenModalOpens([this](QWidget*) {
        shown << prompt.text;
        prompt.done(CSkinDlg::kResultOk);
    });
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(shown.back(), "Clear macro definitions?");
    EXPECT_EQ(editor->Lines().Count(), 0);
    EXPECT_FALSE(del->isEnabled());  // nothing left to delete
}

// What the list shows selected, what the line list holds selected and currentLine
// must be one and the same line.
void ExpectOneSelectedLine(CSkinMacroDlg& editor, int line) {
    CSkinListCtrl* list = editor.List();
    EXPECT_EQ(editor.Lines().SelectedLines(), std::vector<int>{line});
    EXPECT_EQ(editor.Lines().CurrentLine(), line);
    EXPECT_EQ(list->SelectedRows(), std::vector<int>{line});
    EXPECT_EQ(list->currentIndex().row(), line);
    const QImage shot = list->viewport()->grab().toImage();
    std::vector<int> drawnSelected;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        const QRect r = list->visualItemRect(list->topLevelItem(row));
        if (QColor(shot.pixel(r.right() - 2, r.center().y())) == CSkinListCtrl::kSelectedBackground)
            drawnSelected.push_back(row);
    }
    EXPECT_EQ(drawnSelected, std::vector<int>{line});
}

// A command goes in before the selected line, which stays the one selected.
TEST_F(Editor, InsertingACommandKeepsSelectionHighlightAndCurrentLineTogether) {
    OpenMacro("Ins");
    for (std::uint8_t op : {0x04, 0x05, 0x06}) editor->Lines().Append(op);
    CSkinListCtrl* list = editor->List();
    list->setFocus();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(1)).center());
    ExpectOneSelectedLine(*editor, 1);

    editor->SelectCommand(0);
    QTest::mouseClick(editor->Control(CSkinMacroDlg::IDC_INSERT), Qt::LeftButton);
    ASSERT_EQ(editor->Lines().Count(), 4);
    EXPECT_EQ(editor->Lines().Line(1).instruction[0], OP_EXTENDED);
    ExpectOneSelectedLine(*editor, 2);
    // DOWN and DELETE act on the line the user sees selected.
    QTest::mouseClick(editor->Control(CSkinMacroDlg::IDC_DOWN), Qt::LeftButton);
    EXPECT_EQ(editor->Lines().Line(3).instruction[0], 0x05);
    ExpectOneSelectedLine(*editor, 3);
    QTest::mouseClick(editor->Control(CSkinMacroDlg::IDC_DELETE), Qt::LeftButton);
    ASSERT_EQ(editor->Lines().Count(), 3);
    EXPECT_EQ(editor->Lines().Line(2).instruction[0], 0x06);
    ExpectOneSelectedLine(*editor, 2);
}

TEST_F(Editor, CreateSaveReloadSaveAsLoadAndDelete) {
    WhenModalOpens([this](QWidget*) {
        EXPECT_EQ(prompt.mode, CSkinDlg::kNameEntry);
        prompt.Entry()->setText(QStringLiteral("Combo"));
        prompt.OkButton()->click();
    });
    editor->OnCommand(CSkinMacroDlg::IDC_NEW);
    ASSERT_EQ(editor->MacroName(), "Combo");
    const fs::path path = folder / "Combo.Mac";
    EXPECT_EQ(FileBytes(path), (Bytes{0x6D, 0x18, 0xA1, 0, 0, 0x19, 1, 0, 0}));
    EXPECT_TRUE(editor->Control(CSkinMacroDlg::IDC_RECORD)->isEnabled());

    editor->SelectCommand(2);
    editor->OnCommand(CSkinMacroDlg::IDC_INSERT);
    const Bytes script = Script();
    editor->OnCommand(CSkinMacroDlg::IDC_APPLY);
    EXPECT_FALSE(editor->Changed());
    const Bytes saved = FileBytes(path);
    ASSERT_EQ(saved.size(), 9 + script.size());
    EXPECT_TRUE(std::equal(script.begin(), script.end(), saved.begin() + 9));

    // A second macro of the same name is refused and the file left alone.
    WhenModalOpens([this](QWidget*) {
        prompt.Entry()->setText(QStringLiteral("Combo"));
        prompt.OkButton()->click();
        AnswerNextPrompt();
    });
    editor->OnCommand(CSkinMacroDlg::IDC_NEW);
    EXPECT_EQ(shown, QStringList{QStringLiteral("Macro exist!")});
    EXPECT_EQ(FileBytes(path), saved);

    const fs::path outside = env.Root() / "export.mac";
    editor->SaveAsFile(QString::fromStdString(outside.string()));
    EXPECT_EQ(FileBytes(outside), saved);
    EXPECT_EQ(editor->MacroName(), "Combo");

    editor->LoadFromFile(QString::fromStdString(outside.string()));
    EXPECT_EQ(editor->MacroName(), "export");
    EXPECT_EQ(FileBytes(folder / "export.Mac"), saved);
    EXPECT_EQ(Script(), script);
    EXPECT_FALSE(editor->Changed());

    editor->OnCommand(CSkinMacroDlg::IDC_DELETE_FILE);
    EXPECT_FALSE(fs::exists(folder / "export.Mac"));
    EXPECT_TRUE(editor->MacroName().isEmpty());
    EXPECT_EQ(editor->Lines().Count(), 0);
    EXPECT_EQ(editor->MacroList()->findText(QStringLiteral("export")), -1);
}

// A macro file copied from elsewhere, x.MAC: opened, saved and deleted as that file,
// and never doubled by a new or imported "x".
TEST_F(Editor, MacroFilesOfAnyExtensionCaseKeepTheirFile) {
    CSkinLVCmdList lines;
    lines.Append(0x04);
    ASSERT_TRUE(WriteMacroFile(folder / "x.MAC", lines, {DelayMode::WithoutDelay, 0}).ok);
    Reopen();
    const int x = editor->MacroList()->findText(QStringLiteral("x"));
    ASSERT_GE(x, 0);
    editor->SelectMacro(x);  // no message may open
    EXPECT_EQ(editor->Lines().Count(), 1);
    EXPECT_EQ(editor->ActiveDelays().mode, DelayMode::WithoutDelay);
    EXPECT_EQ(editor->MacroPath(), folder / "x.MAC");

    editor->SelectCommand(0);
    editor->OnCommand(CSkinMacroDlg::IDC_INSERT);
    editor->OnCommand(CSkinMacroDlg::IDC_APPLY);
    EXPECT_FALSE(editor->Changed());
    EXPECT_EQ(FileBytes(folder / "x.MAC").size(), 9u + static_cast<std::size_t>(Script().size()));
    EXPECT_FALSE(fs::exists(folder / "x.Mac"));

    WhenModalOpens([this](QWidget*) {
        prompt.Entry()->setText(QStringLiteral("x"));
        prompt.OkButton()->click();
        AnswerNextPrompt();
    });
    editor->OnCommand(CSkinMacroDlg::IDC_NEW);
    const fs::path outside = env.Root() / "x.mac";
    std::filesystem::copy_file(folder / "x.MAC", outside);
    AnswerNextPrompt();
    editor->LoadFromFile(QString::fromStdString(outside.string()));
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Macro exist!"), QStringLiteral("Macro exist!x")}));
    EXPECT_EQ(editor->MacroList()->count(), 1);
    EXPECT_FALSE(fs::exists(folder / "x.Mac"));

    editor->SelectMacro(0);
    editor->OnCommand(CSkinMacroDlg::IDC_DELETE_FILE);
    EXPECT_FALSE(fs::exists(folder / "x.MAC"));
    EXPECT_EQ(editor->MacroList()->count(), 0);
}

TEST_F(Editor, FileDialogsOpenInTheMacroFolderThenWhereTheLastFileWasChosen) {
    OpenMacro("Keep");
    auto canonical = [](const QString& dir) { return QFileInfo(dir).canonicalFilePath(); };
    const QString macroFolder = canonical(QString::fromStdString(folder.string()));
    // Opens the dialog of `button`, notes its folder, then picks `file` or cancels.
    auto openedIn = [this, &canonical](int button, const fs::path& file = {}) {
        QString seen;
        WhenModalOpens([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            seen = canonical(dialog->directory().absolutePath());
            if (file.empty()) return dialog->reject();
            dialog->setDirectory(QString::fromStdString(file.parent_path().string()));
            dialog->selectFile(QString::fromStdString(file.filename().string()));
            QTest::qWait(50);  // the dialog lists the folder before it takes a name
            static_cast<QDialog*>(dialog)->accept();  // as the Save button does
        });
        editor->OnCommand(button);
        return seen;
    };
    EXPECT_EQ(openedIn(CSkinMacroDlg::IDC_LOAD), macroFolder);
    const fs::path exports = env.Root() / "exports";
    fs::create_directories(exports);
    EXPECT_EQ(openedIn(CSkinMacroDlg::IDC_SAVE_AS, exports / "Keep.mac"), macroFolder);
    EXPECT_EQ(ListMacros(exports), std::vector<std::string>{"Keep"});  // Keep.mac or Keep.MAC
    Reopen();
    EXPECT_EQ(openedIn(CSkinMacroDlg::IDC_LOAD), canonical(QString::fromStdString(exports.string())));
    fs::remove_all(exports);
    EXPECT_EQ(openedIn(CSkinMacroDlg::IDC_LOAD), macroFolder);
}

TEST_F(Editor, SelectingAnotherMacroDropsTheEditAndOkSaves) {
    OpenMacro("One");
    editor->SelectCommand(0);
    editor->OnCommand(CSkinMacroDlg::IDC_INSERT);
    OpenMacro("Two");  // the edit of One is lost without a question
    EXPECT_EQ(FileBytes(folder / "One.Mac").size(), 9u);
    editor->SelectCommand(4);
    editor->OnCommand(CSkinMacroDlg::IDC_INSERT);
    editor->OnCommand(CSkinMacroDlg::IDOK);
    EXPECT_GT(FileBytes(folder / "Two.Mac").size(), 9u);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(store.ReadDword(kMacroEditHandle), kDwordMissing);
}

TEST_F(Editor, PublishesItsHandleAndFollowsTheProfileFromDeviceEvents) {
    const std::uint32_t handle = store.ReadDword(kMacroEditHandle);
    ASSERT_TRUE(IsPublishedHandle(handle));
    EXPECT_EQ(handle, editor->Handle());
    MailboxPoster poster;
    // Profile 3 (value 2), then a level change without the profile bit, then a bad profile.
    for (std::uint32_t lParam : {0x80u | (2u << 4), 0x05u, 0x80u | (6u << 4)})
        ASSERT_EQ(PostToWindow(store, poster, kMacroEditHandle, {WM_DEVICE_EVENT, OSD_PROFILE_LEVEL, lParam}),
                  PostResult::Posted);
    QTRY_COMPARE(editor->Profile(), 2);
    QTest::qWait(50);
    EXPECT_EQ(reported, std::vector<int>{2});
    EXPECT_EQ(editor->OnDeviceEvent(1, 0x80), 0);
    editor->OnCommand(CSkinMacroDlg::IDCANCEL);
    EXPECT_EQ(store.ReadDword(kMacroEditHandle), kDwordMissing);
}

TEST_F(Editor, OnlyTheTopBandDragsTheWindow) {
    auto drag = [this](QPoint from, QPoint to) {
        const QPoint global = editor->mapToGlobal(from);
        QMouseEvent press(QEvent::MouseButtonPress, from, global, Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(editor.get(), &press);
        QMouseEvent move(QEvent::MouseMove, to, global + (to - from), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(editor.get(), &move);
        QMouseEvent release(QEvent::MouseButtonRelease, to, global + (to - from), Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(editor.get(), &release);
    };
    const QPoint start = editor->pos();
    drag(QPoint(200, 39), QPoint(250, 69));
    EXPECT_EQ(editor->pos(), start + QPoint(50, 30));
    drag(QPoint(200, 40), QPoint(250, 70));
    EXPECT_EQ(editor->pos(), start + QPoint(50, 30));
}

TEST_F(Editor, ListWheelPagesSelectionColoursAndNoSystemBars) {
    OpenMacro("Long");
    for (int i = 0; i < 30; ++i) editor->Lines().Append(static_cast<std::uint8_t>(0x04 + i % 20));
    CSkinListCtrl* list = editor->List();
    list->scrollToTop();
    QTest::qWait(10);
    const int perPage = list->ItemsPerPage();
    ASSERT_GT(perPage, 3);
    ASSERT_LT(perPage, 30);
    QWheelEvent down(QPointF(50, 50), list->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list->viewport(), &down);
    EXPECT_TRUE(list->visualItemRect(list->topLevelItem(perPage)).intersects(list->viewport()->rect()));
    list->scrollToTop();
    QWheelEvent up(QPointF(50, 50), list->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list->viewport(), &up);
    EXPECT_EQ(list->TopIndex(), 0);
    EXPECT_FALSE(list->verticalScrollBar()->isVisible());
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(list->ScrollBar()->isVisible());
    EXPECT_EQ(list->ScrollBar()->geometry(), QRect(338, 99, 17, 330));

    editor->Lines().Select(0);
    const QImage shot = list->viewport()->grab().toImage();
    const QRect row = list->visualItemRect(list->topLevelItem(0));
    EXPECT_EQ(QColor(shot.pixel(row.right() - 2, row.center().y())), CSkinListCtrl::kSelectedBackground);
    const QRect other = list->visualItemRect(list->topLevelItem(1));
    EXPECT_EQ(QColor(shot.pixel(other.right() - 2, other.center().y())), CSkinListCtrl::kBackground);
    EXPECT_EQ(list->header()->sectionSize(0), 0);
    EXPECT_EQ(list->header()->sectionSize(1), CSkinListCtrl::kColumnWidths[1]);
}

// Every key name, command name and delay text fits its column in the program's font.
TEST_F(Editor, InstructionAndDelayTextsFitTheirColumns) {
    editor->SetDialogFont(texts::BuildFont(0));
    Reopen();
    OpenMacro("Wide");
    CSkinListCtrl* list = editor->List();
    CSkinLVCmdList& lines = editor->Lines();
    int widest[3] = {0, 0, 0};
    std::string widestText;
    auto measure = [&] {
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            for (int column : {1, 2}) {
                const int need = list->sizeHintForIndex(list->model()->index(row, column)).width();
                if (need > widest[column] && column == 1) widestText = list->topLevelItem(row)->text(1).toStdString();
                widest[column] = std::max(widest[column], need);
            }
        }
        lines.Clear();
    };
    for (int code = 0x04; code <= 0x7D; ++code) {
        lines.Append(static_cast<std::uint8_t>(code));
        lines.Append(OP_DELAY, code < 0x40 ? 40 : 200);  // 1000ms and 5.0sec
    }
    measure();
    for (int command = 0; command < kCommandCount; ++command)
        ASSERT_GE(lines.AppendExtended(static_cast<std::uint8_t>(SUB_FIRST_COMMAND + command)), 0);
    measure();
    EXPECT_LE(widest[1], list->columnWidth(1)) << widestText;
    EXPECT_LE(widest[2], list->columnWidth(2));
    // Both columns fill the list, the scroll bar beside it.
    EXPECT_EQ(list->columnWidth(0) + list->columnWidth(1) + list->columnWidth(2), list->viewport()->width());
}

}  // namespace
}  // namespace pallix::test
