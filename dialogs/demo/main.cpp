// pallix-dialogs-demo: the prompt in every mode, the busy indicator and the key
// pictures of the main window.
//   pallix-dialogs-demo --save DIR           one PNG per mode and control, then exit
//   pallix-dialogs-demo --show prompt:469    one thing on screen (prompt:<mode>, busy, keys)
//   --locale de_DE                           texts from that language's file
//   --seconds N                              how long --show stays (default 8)
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "app/texts/LoadLanguage.h"
#include "app/texts/TextTables.h"
#include "app/texts/qt/TextFonts.h"
#include "dialogs/OsdProgress.h"
#include "dialogs/SkinDlg.h"
#include "dialogs/UiKeyIndex.h"
#include "dialogs/UiKeyStatus.h"
#include "resources/Artwork.h"

using namespace pallix;

namespace {

constexpr int kModes[] = {125, 248, 251, 287, 353, 447, 448, 469, 470, 474};

void FillPrompt(CSkinDlg& prompt, int mode, const QString& macroFolder) {
    prompt.mode = mode;
    prompt.text.clear();
    prompt.path.clear();
    prompt.repeatOption = CSkinDlg::kRepeatNone;
    prompt.value = 0;
    switch (mode) {
    case CSkinDlg::kNameEntry: prompt.text = QStringLiteral("Rapid Fire"); break;
    case CSkinDlg::kMessage: prompt.text = QString::fromStdString(texts::MessageText(1)); break;
    case CSkinDlg::kConfirmation: prompt.text = QString::fromStdString(texts::MessageText(17)); break;
    case CSkinDlg::kFunctionChooser: prompt.value = 5; break;
    case CSkinDlg::kMacroChooser:
        prompt.path = macroFolder + QStringLiteral("/Fire.MAC");
        prompt.repeatOption = CSkinDlg::kRepeatMultiple;
        prompt.value = 7;
        break;
    case CSkinDlg::kCountEntry: prompt.value = 12; break;
    default: break;
    }
}

QString MakeMacroFolder(QTemporaryDir& dir) {
    for (const char* name : {"Fire.Mac", "Reload.Mac", "Grenade Combo.Mac", "Sniper Breath.mac"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        if (f.open(QIODevice::WriteOnly)) f.write("demo");
    }
    return dir.path();
}

// The configuration page's mouse with its hot spots and the status panel.
class KeyPage : public QWidget {
public:
    explicit KeyPage(const QFont& font) {
        page_ = ProgramArtwork().Image(124);
        setFixedSize(page_.size());
        status_ = new CUiKeyStatus(this, 1121);
        status_->setFont(font);
        status_->SetupItems();
        status_->SetKindImages(CUiKeyStatus::kKindImages);
        status_->move(360, 260);
        const QPoint spots[8] = {{120, 240}, {240, 240}, {180, 245}, {78, 330},
                                 {78, 380}, {180, 310}, {282, 330}, {180, 350}};
        const char* names[8] = {"CLICK", "RIGHT BUTTON", "SCROLL BUTTON", "Fire", "FORWARD",
                                "SENSITIVITY-UP", "SENSITIVITY-DOWN", "firefox"};
        const int kinds[8] = {1, 2, 2, 0, 1, 2, 2, 3};
        for (int b = 0; b < 8; ++b) {
            auto* spot = new CUiKeyIndex(this, 1791 + b);
            spot->SetSkin(CUiKeyIndex::kSpotNormal, CUiKeyIndex::kSpotPressed, CUiKeyIndex::kSpotHover, 0,
                          CUiKeyIndex::kSpotMask);
            spot->setText(QString::number(b + 1));
            spot->SetTextColour(QColor(236, 236, 236));
            spot->SetButtonIndex(b);
            spot->SetStatusPanel(status_);
            spot->move(spots[b] - QPoint(11, 11));
            status_->SetItem(kinds[b], QString::fromLatin1(names[b]), b, false);
        }
        status_->SetShownItem(3);
        status_->Refresh();
    }
    CUiKeyStatus* status_;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, page_);
    }

private:
    QImage page_;
};

bool Save(QWidget* w, const QString& file) {
    w->setAttribute(Qt::WA_DontShowOnScreen);
    w->show();
    QApplication::processEvents();
    const bool ok = w->grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(file));
    w->hide();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser cli;
    cli.addHelpOption();
    QCommandLineOption save(QStringLiteral("save"), QStringLiteral("Write PNGs into DIR and exit."), QStringLiteral("DIR"));
    QCommandLineOption show(QStringLiteral("show"), QStringLiteral("prompt:<mode>, busy or keys."), QStringLiteral("WHAT"));
    QCommandLineOption locale(QStringLiteral("locale"), QStringLiteral("Language, e.g. de_DE."), QStringLiteral("LOCALE"));
    QCommandLineOption seconds(QStringLiteral("seconds"), QStringLiteral("How long --show stays."), QStringLiteral("N"),
                               QStringLiteral("8"));
    cli.addOptions({save, show, locale, seconds});
    cli.process(app);

    const auto where = texts::DefaultLocations(nullptr);
    const texts::LanguageState lang = texts::LoadLanguage(
        cli.isSet(locale) ? texts::LanguageIdFromLocale(cli.value(locale).toStdString()) : texts::SystemLanguageId(), where);
    std::printf("language %s: %s\n", lang.languageFile.c_str(), texts::LanguageFileStatusName(lang.status));

    QTemporaryDir macros;
    const QString macroFolder = MakeMacroFolder(macros);
    const QFont messageFont = texts::BuildFont(5);
    const QFont listFont = texts::BuildFont(4);

    if (cli.isSet(save)) {
        const QString dir = cli.value(save);
        QDir().mkpath(dir);
        int failures = 0;
        for (int mode : kModes) {
            CSkinDlg prompt;
            prompt.Initialise(messageFont, listFont);
            FillPrompt(prompt, mode, macroFolder);
            failures += !Save(&prompt, QStringLiteral("%1/prompt-%2.png").arg(dir).arg(mode));
        }
        KeyPage keys(texts::BuildFont(4));
        failures += !Save(&keys, dir + QStringLiteral("/keys.png"));
        COsdProgress progress;
        progress.Create(COsdProgress::kFrames);
        QImage sheet(172 * 6, 172 * 2, QImage::Format_RGB32);
        QPainter p(&sheet);
        progress.Start(COsdProgress::kCaptionWriting);
        for (int i = 0; i < COsdProgress::kFrameCount; ++i) {
            p.drawImage((i % 6) * 172, (i / 6) * 172, progress.FrameBitmap());
            progress.OnTimer(COsdProgress::kTimerId);
        }
        progress.Stop();
        p.end();
        failures += !sheet.save(dir + QStringLiteral("/busy-frames.png"));
        return failures ? 1 : 0;
    }

    const QString what = cli.value(show).isEmpty() ? QStringLiteral("prompt:469") : cli.value(show);
    QTimer::singleShot(cli.value(seconds).toInt() * 1000, &app, &QApplication::quit);
    // A plain window underneath, so shapes and translucency have something to show over.
    QLabel backdrop(QStringLiteral("Pallix dialogs demo: %1").arg(what));
    backdrop.setAlignment(Qt::AlignCenter);
    backdrop.setStyleSheet(QStringLiteral("background: qlineargradient(x1:0,y1:0,x2:1,y2:1, stop:0 #2a6fdb, stop:1 #f0c419);"
                                          "color: white; font-size: 28px;"));
    backdrop.setGeometry(140, 100, 1000, 600);
    backdrop.show();
    if (what == QStringLiteral("busy")) {
        COsdProgress progress;
        progress.Create(COsdProgress::kFrames);
        progress.Start(COsdProgress::kCaptionReading);
        return app.exec();
    }
    if (what == QStringLiteral("keys")) {
        KeyPage keys(texts::BuildFont(4));
        keys.move(260, 140);
        keys.show();
        QObject::connect(keys.status_, &CUiKeyStatus::Posted, [](const Message& m) {
            std::printf("posted 0x%X %u %d\n", m.message, m.wParam, static_cast<int>(m.lParam));
            std::fflush(stdout);
        });
        return app.exec();
    }
    CSkinDlg prompt;
    prompt.Initialise(messageFont, listFont);
    FillPrompt(prompt, what.section(QLatin1Char(':'), 1).toInt(), macroFolder);
    QTimer::singleShot(cli.value(seconds).toInt() * 1000, &prompt, &QDialog::reject);
    const int result = prompt.exec();
    std::printf("result %d mode %d text \"%s\" repeatOption %d value %d\n", result, prompt.mode,
                qPrintable(prompt.text), prompt.repeatOption, prompt.value);
    return 0;
}
