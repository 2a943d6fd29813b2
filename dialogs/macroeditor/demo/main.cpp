// pallix-macroeditor-demo: the macro editor on a private macro folder holding one
// real macro ("Reload": keys, a mouse click, a wheel notch, delays and a command).
//   --save FILE.png   draw the editor with the macro selected and exit
//   --macro NAME      select NAME instead ("Commands" holds every predefined command)
//   (no option)       show it for interactive use (RECORD works on this window)
#include <QApplication>
#include <QCommandLineParser>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "app/texts/LoadLanguage.h"
#include "app/texts/qt/TextFonts.h"
#include "dialogs/SkinDlg.h"
#include "dialogs/macroeditor/SkinListCtrl.h"
#include "dialogs/macroeditor/SkinMacroDlg.h"
#include "skin/ColorCombox.h"
#include "macro/LineList.h"
#include "macro/MacroFile.h"
#include "macro/MacroFolder.h"
#include "platform/SqliteSettingsStore.h"

using namespace pallix;
using namespace pallix::macro;

namespace {

void WriteSampleMacro(const std::filesystem::path& folder) {
    CSkinLVCmdList lines;
    lines.Append(0x15);                      // R down
    lines.Append(OP_DELAY, 4);
    lines.Append(0x15 + KEY_RELEASE);
    lines.Append(KEY_LEFT_SHIFT);
    lines.Append(0x1E);                      // 1
    lines.Append(0x1E + KEY_RELEASE);
    lines.Append(KEY_LEFT_SHIFT + KEY_RELEASE);
    lines.Append(OP_DELAY, 20);
    lines.Append(KEY_BUTTON_LEFT);
    lines.Append(OP_DELAY, 2);
    lines.Append(KEY_BUTTON_LEFT + KEY_RELEASE);
    lines.Append(OP_WHEEL_DOWN);
    lines.AppendExtended(SUB_FIRST_COMMAND + 3);
    lines.Append(0x2C);                      // Space
    lines.Append(OP_DELAY, 40);
    lines.Append(0x2C + KEY_RELEASE);
    lines.Append(KEY_BUTTON_RIGHT);
    lines.Append(KEY_BUTTON_RIGHT + KEY_RELEASE);
    CreateMacroFile(folder, "Reload");
    WriteMacroFile(BuildMacroPath(folder, "Reload"), lines, {DelayMode::RealTime, 0});
    CreateMacroFile(folder, "Empty");
    CSkinLVCmdList commands;
    for (int i = 0; i < kCommandCount; ++i) commands.AppendExtended(static_cast<std::uint8_t>(SUB_FIRST_COMMAND + i));
    WriteMacroFile(BuildMacroPath(folder, "Commands"), commands, {DelayMode::RealTime, 0});
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption save(QStringLiteral("save"), QStringLiteral("Save the editor as a PNG and exit."),
                            QStringLiteral("file"));
    parser.addOption(save);
    QCommandLineOption macroName(QStringLiteral("macro"), QStringLiteral("The macro to select."),
                                 QStringLiteral("name"), QStringLiteral("Reload"));
    parser.addOption(macroName);
    parser.process(app);

    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    const std::filesystem::path folder = std::filesystem::path(dir.path().toStdString()) / "macros";
    std::filesystem::create_directories(folder);
    WriteSampleMacro(folder);
    SqliteSettingsStore store((std::filesystem::path(dir.path().toStdString()) / "settings.sqlite3").string());
    texts::LoadLanguage(&store);

    CSkinDlg prompt;
    prompt.Initialise(texts::BuildFont(5), texts::BuildFont(4));
    CSkinMacroDlg editor(store, folder, prompt, 0, 0,
                         [](int profile) { std::printf("profile switched to %d\n", profile + 1); });
    editor.SetDialogFont(texts::BuildFont(0));
    editor.show();
    editor.SelectMacro(editor.MacroList()->findText(parser.value(macroName)));
    editor.SelectCommand(3);
    editor.SelectLines({8});
    std::printf("macro %s: %d lines, %d bytes\n", qPrintable(editor.MacroName()), editor.Lines().Count(),
                editor.Lines().UsedBytes());
    if (parser.isSet(save)) {
        QTimer::singleShot(300, &app, [&] {
            const bool ok = editor.grab().save(parser.value(save));
            std::printf("%s %s\n", ok ? "saved" : "FAILED to save", qPrintable(parser.value(save)));
            app.exit(ok ? 0 : 1);
        });
        return app.exec();
    }
    return app.exec();
}
