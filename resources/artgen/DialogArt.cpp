// Window faces: main window pages, the prompt's modes, performance, macro editor.
#include "Program.h"

namespace artgen {
namespace {

struct Prompt {
    int id, w, h;
    QString title;
    QString body;       // painted text, empty for a message panel
    bool messagePanel;  // an empty panel for the message line
};

QImage PromptFace(const Prompt& m) {
    QImage layer = Layer(m.w, m.h);
    QPainter p(&layer);
    Setup(p);
    DialogFace(p, m.w, m.h, m.title);
    if (m.messagePanel) {
        Well(p, QRect(20, 56, m.w - 40, 56));
    } else if (!m.body.isEmpty()) {
        Label(p, QRect(24, 52, m.w - 48, 66), m.body, 13, pal::text,
              Qt::AlignLeft | Qt::AlignVCenter, false);
    }
    return Finish(layer, kKeyDialog);
}

QImage NameEntry() {
    QImage layer = Layer(350, 165);
    QPainter p(&layer);
    Setup(p);
    DialogFace(p, 350, 165, QStringLiteral("CREATE NEW MACRO"));
    Label(p, QRect(20, 76, 104, 20), QStringLiteral("Macro name:"), 13, pal::text,
          Qt::AlignRight | Qt::AlignVCenter, false);
    Well(p, QRect(128, 74, 136, 24));
    Label(p, QRect(20, 48, 310, 22), QStringLiteral("Enter a name for the new macro"), 12,
          pal::textDim, Qt::AlignLeft | Qt::AlignVCenter, false);
    return Finish(layer, kKeyDialog);
}

QImage Chooser(int w, int h, const QString& title, const QString& request, bool repeat) {
    QImage layer = Layer(w, h);
    QPainter p(&layer);
    Setup(p);
    DialogFace(p, w, h, title);
    Label(p, QRect(18, 50, w - 36, 32), request, 13, pal::text, Qt::AlignLeft | Qt::AlignVCenter,
          false);
    Well(p, QRect(13, 86, 154, 31));
    if (repeat) {
        Label(p, QRect(18, 124, w - 36, 20), QStringLiteral("REPEAT OPTIONS"), 12, pal::accentBright,
              Qt::AlignLeft | Qt::AlignVCenter);
        p.fillRect(QRect(18, 145, w - 36, 1), pal::borderDim);
    }
    return Finish(layer, kKeyDialog);
}

QImage CountEntry() {
    QImage layer = Layer(260, 95);
    QPainter p(&layer);
    Setup(p);
    Chamfer(p, QRect(0, 0, 260, 95), 10, pal::panel, pal::border);
    p.fillRect(QRect(1, 1, 258, 3), pal::accent);
    Label(p, QRect(14, 10, 160, 36), QStringLiteral("Enter the repeat count (0-255):"), 12,
          pal::text, Qt::AlignLeft | Qt::AlignVCenter, false);
    Well(p, QRect(180, 16, 64, 24));
    return Finish(layer, kKeyDialog);
}

// Main window pages: 0 no mouse, 1 searching, 2 reading, 3 configuration.
QImage Page(int page) {
    const int w = 760, h = 520;
    QImage layer = Layer(w, h);
    QPainter p(&layer);
    Setup(p);
    Chamfer(p, QRect(0, 0, w, h), 18, pal::panel, pal::border);
    // Band of 144 px that drags the window on the configuration page.
    Chamfer(p, QRect(1, 1, w - 2, 143), 17, pal::panelDark);
    p.fillRect(QRect(1, 144, w - 2, 3), pal::accent);
    Label(p, QRect(30, 28, 500, 50), QStringLiteral("PALLIX OSTREL"), 38, pal::text,
          Qt::AlignLeft | Qt::AlignVCenter);
    Label(p, QRect(32, 78, 500, 24), QStringLiteral("GAMING MOUSE CONFIGURATION"), 14, pal::accentBright,
          Qt::AlignLeft | Qt::AlignVCenter);
    for (int i = 0; i < 6; ++i) p.fillRect(QRect(w - 60 - i * 14, 40 + i * 8, 8, 60 - i * 8), pal::accentDark);
    if (page == 3) {
        // Mouse seen from above, with the eight button numbers.
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(pal::border, 2));
        p.setBrush(pal::panelLight);
        p.drawRoundedRect(QRectF(70, 180, 220, 320), 100, 110);
        p.setPen(QPen(pal::borderDim, 2));
        p.drawLine(QPointF(180, 182), QPointF(180, 300));
        p.setBrush(pal::panelDark);
        p.drawRoundedRect(QRectF(170, 220, 20, 50), 8, 8);
        p.restore();
        const QPoint spots[8] = {{120, 240}, {240, 240}, {180, 245}, {78, 330},
                                 {78, 380}, {180, 310}, {282, 330}, {180, 350}};
        for (int b = 0; b < 8; ++b) {
            const QRect r(spots[b].x() - 11, spots[b].y() - 11, 22, 22);
            Chamfer(p, r, 4, pal::panelDark, pal::accent);
            Label(p, r, QString::number(b + 1), 12, pal::text);
        }
        Label(p, QRect(360, 166, 360, 20), QStringLiteral("PROFILE"), 12, pal::textDim,
              Qt::AlignLeft | Qt::AlignVCenter);
        Label(p, QRect(360, 236, 360, 20), QStringLiteral("BUTTON FUNCTION"), 12, pal::textDim,
              Qt::AlignLeft | Qt::AlignVCenter);
        Well(p, QRect(358, 258, 191, 70));
        Label(p, QRect(360, 350, 360, 20), QStringLiteral("LED MODE"), 12, pal::textDim,
              Qt::AlignLeft | Qt::AlignVCenter);
        p.fillRect(QRect(360, 452, 380, 1), pal::borderDim);
    } else {
        static const char* const lines[3][2] = {
            {"No Gamer Mouse Connected!", "Connect the mouse to a USB port."},
            {"Searching for the mouse", "Please wait a moment."},
            {"Reading the mouse settings", "Please do not unplug the mouse."}};
        Well(p, QRect(120, 230, 520, 140));
        Label(p, QRect(130, 250, 500, 50), QString::fromLatin1(lines[page][0]), 24, pal::text);
        Label(p, QRect(130, 305, 500, 40), QString::fromLatin1(lines[page][1]), 15, pal::textDim,
              Qt::AlignCenter, false);
    }
    return Finish(layer, kKeyDialog);
}

QImage Performance() {
    const int w = 640, h = 440;
    QImage layer = Layer(w, h);
    QPainter p(&layer);
    Setup(p);
    DialogFace(p, w, h, QStringLiteral("Performance"));
    auto heading = [&](int x, int y, const QString& t) {
        Label(p, QRect(x, y, 300, 18), t, 12, pal::textDim, Qt::AlignLeft | Qt::AlignVCenter);
    };
    // Sensitivity column: bar 1806 at (40,90) 28 x 290, entry 1215 at (90,200).
    Well(p, QRect(16, 54, 176, 366));
    heading(28, 62, QStringLiteral("SENSITIVITY"));
    Label(p, QRect(78, 86, 100, 16), QStringLiteral("HIGH"), 11, pal::textDim,
          Qt::AlignLeft | Qt::AlignVCenter);
    Label(p, QRect(78, 366, 100, 16), QStringLiteral("LOW"), 11, pal::textDim,
          Qt::AlignLeft | Qt::AlignVCenter);
    Chamfer(p, QRect(88, 198, 66, 26), 3, pal::borderDim);
    Label(p, QRect(158, 198, 30, 26), QStringLiteral("DPI"), 12, pal::text,
          Qt::AlignLeft | Qt::AlignVCenter);
    // Right column.
    heading(220, 58, QStringLiteral("DPI LEVELS"));
    for (int i = 0; i < 4; ++i)
        Label(p, QRect(220 + 35 + i * 71 - 15, 114, 30, 16), QString::number(i + 1), 12, pal::text);
    heading(220, 138, QStringLiteral("REPORT RATE"));
    const char* const names[3] = {"DOUBLE CLICK SPEED", "CURSOR SPEED", "SCROLL SPEED"};
    for (int i = 0; i < 3; ++i) {
        const int y = 203 + i * 55;
        heading(220, y, QString::fromLatin1(names[i]));
        Label(p, QRect(220, y + 42, 60, 12), QStringLiteral("SLOW"), 9, pal::textOff,
              Qt::AlignLeft | Qt::AlignVCenter);
        Label(p, QRect(360, y + 42, 60, 12), QStringLiteral("FAST"), 9, pal::textOff,
              Qt::AlignRight | Qt::AlignVCenter);
    }
    p.fillRect(QRect(210, 382, 414, 1), pal::borderDim);
    return Finish(layer, kKeyDialog);
}

QImage MacroEditor() {
    const int w = 640, h = 480;
    QImage layer = Layer(w, h);
    QPainter p(&layer);
    Setup(p);
    DialogFace(p, w, h, QStringLiteral("Macro Editor"));
    auto heading = [&](int x, int y, const QString& t) {
        Label(p, QRect(x, y, 260, 18), t, 12, pal::textDim, Qt::AlignLeft | Qt::AlignVCenter);
    };
    heading(38, 52, QStringLiteral("MACRO"));
    // Line list 1089 at (38,99) 300 x 330 with the 17 px scroll bar on its right.
    Chamfer(p, QRect(36, 97, 321, 334), 3, pal::borderDim);
    heading(380, 52, QStringLiteral("COMMANDS"));
    heading(380, 150, QStringLiteral("RECORD"));
    heading(380, 220, QStringLiteral("DELAY (ms)"));
    heading(380, 300, QStringLiteral("DELAY MODE"));
    p.fillRect(QRect(372, 100, 250, 1), pal::borderDim);
    p.fillRect(QRect(372, 440, 250, 1), pal::borderDim);
    return Finish(layer, kKeyDialog);
}

}  // namespace

void AddDialogPictures(std::vector<Picture>& out) {
    const char* pageShows[4] = {"main window page 0: no mouse connected",
                                "main window page 1: searching for the mouse",
                                "main window page 2: reading the mouse settings",
                                "main window page 3: configuration (mouse with buttons 1-8; top 144 px drag band)"};
    for (int page = 0; page < 4; ++page)
        out.push_back({ArtSet::Program, 121 + page, QString::fromLatin1(pageShows[page]),
                       QStringLiteral("CMainFrameDlg"), [page] { return Page(page); }});

    const QString warn = QStringLiteral("WARNING");
    const std::vector<Prompt> prompts = {
        {248, 500, 170, warn,
         QStringLiteral("Pressing OK resets the mouse to its factory defaults.\nAll settings will be lost."), false},
        {251, 500, 170, warn, {}, true},
        {287, 500, 170, warn, {}, true},
        {353, 500, 170, warn,
         QStringLiteral("Please save the settings of each game profile separately\nbefore you leave this profile."), false},
        {447, 600, 170, warn,
         QStringLiteral("In BATTLE mode the lighting follows your clicking frequency."), false},
        {448, 556, 170, warn,
         QStringLiteral("At least one button must keep the left-button (CLICK) function,\notherwise the profile cannot be saved."), false},
    };
    const char* promptShows[] = {"prompt: reset warning", "prompt: message (empty panel)",
                                 "prompt: confirmation (empty panel)", "prompt: profile-save warning",
                                 "prompt: battle-mode notice", "prompt: left-button warning"};
    for (std::size_t i = 0; i < prompts.size(); ++i) {
        const Prompt m = prompts[i];
        out.push_back({ArtSet::Program, m.id, QString::fromLatin1(promptShows[i]),
                       QStringLiteral("CSkinDlg"), [m] { return PromptFace(m); }});
    }
    out.push_back({ArtSet::Program, 125, QStringLiteral("prompt: new macro name entry (entry well at 128,74)"),
                   QStringLiteral("CSkinDlg (macro editor)"), NameEntry});
    out.push_back({ArtSet::Program, 469, QStringLiteral("prompt: single-key function chooser (list well at 13,86)"),
                   QStringLiteral("CSkinDlg"), [] {
                       return Chooser(270, 185, QStringLiteral("SINGLE KEY"),
                                      QStringLiteral("Please select a command to assign:"), false);
                   }});
    out.push_back({ArtSet::Program, 470, QStringLiteral("prompt: macro chooser with REPEAT OPTIONS heading"),
                   QStringLiteral("CSkinDlg"), [] {
                       return Chooser(270, 325, QStringLiteral("MACRO"),
                                      QStringLiteral("Please select a macro to assign:"), true);
                   }});
    out.push_back({ArtSet::Program, 474, QStringLiteral("prompt: repeat count entry (entry frame at 180,16)"),
                   QStringLiteral("CSkinDlg (count entry)"), CountEntry});
    out.push_back({ArtSet::Program, 343, QStringLiteral("Performance dialog face (sections: sensitivity, DPI levels, report rate, speeds)"),
                   QStringLiteral("CSkinCfgDlg"), Performance});
    out.push_back({ArtSet::Program, 356, QStringLiteral("Macro Editor face (line list frame at 36,97)"),
                   QStringLiteral("CSkinMacroDlg"), MacroEditor});
}

}  // namespace artgen
