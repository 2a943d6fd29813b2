#include "GalleryPages.h"

#include <QApplication>
#include <QEnterEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

#include "resources/Artwork.h"
#include "skin/BitmapSlider.h"
#include "skin/ColorCombox.h"
#include "skin/HoverButton.h"
#include "skin/Region.h"
#include "skin/SkinButton.h"
#include "skin/SkinPicture.h"
#include "skin/SkinVerticleScrollbar.h"
#include "skin/WndShadow.h"

namespace gallery {
namespace {

using namespace pallix;

const QStringList kStates = {QStringLiteral("normal"), QStringLiteral("pressed"), QStringLiteral("hover"),
                             QStringLiteral("disabled")};

void ForceHover(QWidget* w) {
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(w, &enter);
}

// Puts a control into one of the four states for the picture.
void SetState(QAbstractButton* b, int state) {
    if (state == 1) b->setDown(true);
    if (state == 2) ForceHover(b);
    if (state == 3) b->setEnabled(false);
}

QLabel* Text(const QString& text, int px = 12, const QColor& colour = QColor(200, 200, 205)) {
    auto* label = new QLabel(text);
    QFont f = label->font();
    f.setPixelSize(px);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
    return label;
}

// One row: a title and the strip button in its four states.
std::vector<QWidget*> StripRow(const QString& title, int id, const std::function<void(CHoverButtonEx*)>& extra = {}) {
    std::vector<QWidget*> row{Cell(title, Text(QStringLiteral("picture %1").arg(id), 11))};
    for (int s = 0; s < 4; ++s) {
        auto* b = new CHoverButtonEx2(nullptr, id);
        b->SetHorizontal(true);
        b->LoadStrip(id);
        if (extra) extra(b);
        SetState(b, s);
        row.push_back(Cell(kStates[s], b));
    }
    return row;
}

}  // namespace

QWidget* Cell(const QString& title, QWidget* body) {
    auto* cell = new QWidget;
    auto* v = new QVBoxLayout(cell);
    v->setContentsMargins(6, 6, 6, 6);
    v->setSpacing(4);
    v->addWidget(Text(title, 11, QColor(150, 150, 158)));
    v->addWidget(body, 0, Qt::AlignLeft | Qt::AlignTop);
    v->addStretch();
    return cell;
}

QWidget* Grid(const std::vector<QWidget*>& cells, int columns) {
    auto* page = new QWidget;
    page->setAutoFillBackground(true);
    QPalette pal = page->palette();
    pal.setColor(QPalette::Window, QColor(58, 58, 62));
    page->setPalette(pal);
    auto* grid = new QGridLayout(page);
    grid->setSpacing(4);
    for (std::size_t i = 0; i < cells.size(); ++i)
        grid->addWidget(cells[i], int(i) / columns, int(i) % columns, Qt::AlignLeft | Qt::AlignTop);
    return page;
}

QWidget* ButtonsPage() {
    std::vector<QWidget*> cells;
    const std::pair<const char*, int> strips[] = {
        {"OK", 338}, {"CANCEL", 337}, {"APPLY", 336}, {"YES", 247}, {"RESET TO DEFAULT", 344},
        {"125 Hz / selected", 173}, {"125 Hz selected", 175}, {"1000 Hz selected", 347},
        {"ON selected", 450}, {"OFF", 451}, {"FULL LIGHT label", 232}, {"PROFILE 1", 165},
        {"PROFILE 1 selected", 169}, {"RECORD", 256}, {"STOP", 257}, {"insert (arrow)", 258},
        {"move up", 261}, {"plus", 350}, {"ONCE selected", 268}, {"ONCE not selected", 271},
        {"UNTIL PRESSED NEXT TIME", 472}, {"ONE SCREEN AT A TIME on", 348}, {"WITHOUT DELAY off", 357}};
    for (const auto& [title, id] : strips)
        for (QWidget* w : StripRow(QString::fromLatin1(title), id)) cells.push_back(w);
    // CHoverButtonEx2: the drop button with its caption, highlighted and not.
    for (bool highlight : {true, false})
        for (QWidget* w : StripRow(highlight ? QStringLiteral("drop button, caption highlighted")
                                             : QStringLiteral("drop button, caption grey"),
                                   471, [highlight](CHoverButtonEx* b) {
                                       const QRect r(QPoint(20, 5), QPoint(134, 22));
                                       auto* b2 = static_cast<CHoverButtonEx2*>(b);
                                       b2->SetCaption(QStringLiteral("BACKWARD"), &r, nullptr, QColor(250, 250, 250));
                                       b2->SetHighlight(highlight);
                                   }))
            cells.push_back(w);
    // Key status panel: strips of 187 x 66 with the function name as caption.
    const std::pair<int, const char*> kinds[] = {{419, "Fire burst"}, {420, "BACKWARD"}, {421, "CLICK"},
                                                 {422, "gimp"}, {418, ""}};
    for (const auto& [id, text] : kinds)
        for (QWidget* w : StripRow(QStringLiteral("key status %1").arg(id), id, [text](CHoverButtonEx* b) {
                 const QRect r(QPoint(77, 25), QPoint(179, 45));
                 static_cast<CHoverButtonEx2*>(b)->SetCaption(QString::fromLatin1(text), &r, nullptr, Qt::white);
                 static_cast<CHoverButtonEx2*>(b)->SetHighlight(true);
             }))
            cells.push_back(w);
    // No strip: an ordinary push button.
    auto* plain = new CHoverButtonEx;
    plain->setText(QStringLiteral("no strip loaded"));
    cells.push_back(Cell(QStringLiteral("without a strip"), plain));
    return Grid(cells, 5);
}

QWidget* SlidersPage() {
    std::vector<QWidget*> cells;
    auto* log = Text(QStringLiteral("drag a slider: its notifications appear here"), 12, QColor(240, 240, 240));
    auto watch = [log](CBitmapSlider* s) {
        QObject::connect(s, &CBitmapSlider::Posted, log, [log](const Message& m) {
            const char* name = m.message == WM_SLIDER_PRESSED ? "WM_SLIDER_PRESSED"
                             : m.message == WM_SLIDER_TRACKING ? "WM_SLIDER_TRACKING" : "WM_SLIDER_CHANGED";
            log->setText(QStringLiteral("%1  id %2  pos %3").arg(QString::fromLatin1(name)).arg(m.wParam).arg(m.lParam));
        });
    };
    auto level = [&](const QString& title, int pos, bool enabled, CBitmapSlider* s) {
        s->LoadChannel(186);
        s->LoadThumb(180, 181);
        s->SetRange(1, 4);
        s->SetPos(pos);
        s->EnableSlider(enabled);
        watch(s);
        cells.push_back(Cell(title, s));
    };
    level(QStringLiteral("DPI LEVELS (CBitmapSliderEx2) at 1"), 1, true, new CBitmapSliderEx2(nullptr, 1209));
    level(QStringLiteral("at 3"), 3, true, new CBitmapSliderEx2(nullptr, 1209));
    level(QStringLiteral("disabled CBitmapSlider: no thumb"), 2, false, new CBitmapSlider(nullptr, 1209));
    level(QStringLiteral("disabled CBitmapSliderEx: thumb kept"), 2, false, new CBitmapSliderEx(nullptr, 1209));
    for (int i = 0; i < 3; ++i) {
        auto* s = new CBitmapSliderEx2(nullptr, 1045 + i);
        s->LoadChannel(177);
        s->LoadThumb(178, 179);
        s->SetRange(1, 10);
        s->SetPos(1 + i * 4);
        watch(s);
        cells.push_back(Cell(QStringLiteral("speed slider %1, 1..10 at %2").arg(1045 + i).arg(1 + i * 4), s));
    }
    for (int pos : {1, 20, 57}) {
        auto* bar = new CBitmapSlider(nullptr, 1806);
        bar->LoadChannel(467, 468);
        bar->SetVertical(true);
        bar->SetRange(1, 57);
        bar->SetPos(pos);
        watch(bar);
        cells.push_back(Cell(QStringLiteral("sensitivity bar at %1 (lit above)").arg(pos), bar));
    }
    auto* disabledBar = new CBitmapSlider(nullptr, 1806);
    disabledBar->LoadChannel(467, 468);
    disabledBar->SetVertical(true);
    disabledBar->SetRange(1, 57);
    disabledBar->SetPos(20);
    disabledBar->EnableSlider(false);
    cells.push_back(Cell(QStringLiteral("disabled bar: no active part"), disabledBar));
    cells.push_back(Cell(QStringLiteral("notifications"), log));
    return Grid(cells, 4);
}

QWidget* SkinButtonsPage() {
    std::vector<QWidget*> cells;
    struct Zone { int selected, hover, base, baseHover, mask; };
    const Zone zones[5] = {{187, 513, 290, 553, 195}, {214, 537, 314, 577, 222}, {223, 545, 322, 585, 231},
                           {196, 521, 298, 561, 204}, {205, 529, 306, 569, 213}};
    // Per zone (in its own colour): not selected, hover, selected, selected hover, disabled.
    for (int z = 0; z < 5; ++z) {
        const Zone& zz = zones[z];
        for (int look = 0; look < 5; ++look) {
            const bool selected = look == 2 || look == 3;
            const int base = selected ? zz.selected : zz.base, hover = selected ? zz.hover : zz.baseHover;
            auto* b = new CxSkinButton(nullptr, 1731 + z);
            b->SetSkin(base + z, base + z, hover + z, base + 7, zz.mask);
            if (look == 1 || look == 3) ForceHover(b);
            if (look == 4) b->setEnabled(false);
            static const char* const looks[5] = {"", "hover", "selected", "selected, hover", "disabled (dark)"};
            cells.push_back(Cell(QStringLiteral("zone %1 %2").arg(z).arg(QString::fromLatin1(looks[look])), b));
        }
    }
    // Colour buttons as one radio group: the marked one shows its down (bright) picture.
    auto* group = new QWidget;
    auto* v = new QVBoxLayout(group);
    v->setSpacing(6);
    for (int i = 0; i < 7; ++i) {
        auto* b = new CxSkinButton(group, 1799 + i, CxSkinButton::kRadio);
        b->SetSkin(505 + i, 491 + i, 498 + i, 505 + i, 512);
        b->SetGroup(1);
        if (i == 2) b->SetCheck(true);
        if (i == 4) ForceHover(b);
        if (i == 6) b->setEnabled(false);
        v->addWidget(b);
    }
    cells.push_back(Cell(QStringLiteral("colour radio group: BLUE marked, WHITE hover, GREEN disabled"), group));
    // Window text of CxSkinButton over plain pictures: push, marked check box, disabled.
    QImage face(150, 28, QImage::Format_RGB32), down(150, 28, QImage::Format_RGB32);
    face.fill(QColor(50, 50, 56));
    down.fill(QColor(120, 14, 22));
    auto* texts = new QWidget;
    auto* tv = new QVBoxLayout(texts);
    const std::pair<const char*, int> kinds[] = {{"push", 0}, {"check box, marked", 2}, {"disabled", 0}};
    for (const auto& [name, kind] : kinds) {
        auto* b = new CxSkinButton(nullptr, 2000, CxSkinButton::Kind(kind));
        b->SetSkinImages(face, down, {}, {}, LoadSkinPicture(512));
        b->setText(QString::fromLatin1(name).toUpper());
        b->SetTextColour(QColor(250, 250, 250));
        if (kind == 2) b->SetCheck(true);
        if (QString::fromLatin1(name) == QLatin1String("disabled")) b->setEnabled(false);
        tv->addWidget(b);
    }
    cells.push_back(Cell(QStringLiteral("window text on CxSkinButton"), texts));
    return Grid(cells, 5);
}

QWidget* ListPage() {
    auto* host = new QWidget;
    host->setFixedSize(640, 360);
    host->setAutoFillBackground(true);
    QPalette pal = host->palette();
    pal.setColor(QPalette::Window, QColor(28, 28, 31));
    host->setPalette(pal);
    auto* header = new QLabel(host);
    {
        // Header built from 275 (first left cap), 274 (middle) and 276 (right caps).
        QImage img(317, 18, QImage::Format_RGB32);
        QPainter p(&img);
        const QImage middle = LoadSkinPicture(274), left = LoadSkinPicture(275), right = LoadSkinPicture(276);
        for (int x = 0; x < img.width(); ++x) p.drawImage(x, 0, middle);
        p.drawImage(0, 0, left);
        p.drawImage(121, 0, right);
        p.drawImage(296, 0, right);
        p.setPen(QColor(163, 163, 163));
        p.drawText(QRect(2, 2, 121, 14), Qt::AlignCenter, QStringLiteral("INSTRUCTION"));
        p.drawText(QRect(127, 2, 171, 14), Qt::AlignCenter, QStringLiteral("DELAY"));
        p.end();
        header->setPixmap(QPixmap::fromImage(img));
    }
    header->setGeometry(20, 20, 317, 18);
    auto* list = new QListWidget(host);
    list->setGeometry(20, 38, 300, 300);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list->setIconSize(QSize(24, 16));
    list->setStyleSheet(QStringLiteral("QListWidget { background: rgb(10,10,10); color: rgb(165,165,165); border: none; }"
                                       "QListWidget::item:selected { background: rgb(64,0,0); color: rgb(188,153,151); }"));
    const char* names[14] = {"(none)", "KeyDown A", "KeyUp A", "WheelDown", "WheelUp", "ButtonDown Left",
                             "ButtonUp Left", "Delay 100 ms", "ConsumerKey Mute", "RelativeMove 10,0",
                             "Other", "IfLockState", "Goto 3", "SetVariable"};
    for (int row = 0; row < 40; ++row) {
        const int icon = row % 14;
        list->addItem(new QListWidgetItem(QIcon(ProgramArtwork().Path(900 + icon)),
                                          QStringLiteral("%1  %2").arg(row + 1).arg(QString::fromLatin1(names[icon]))));
    }
    list->setCurrentRow(2);
    auto* bar = new CSkinVerticleScrollbar(host);
    bar->setGeometry(320, 38, 17, 300);
    bar->SetList(list);
    list->verticalScrollBar()->setValue(8);
    auto* note = Text(QStringLiteral("CSkinVerticleScrollbar beside a list of 40 rows scrolled to row 9.\n"
                                     "Click the channel to page, hold the bottom 15 px (or y 18-33)\n"
                                     "to repeat every 250 ms, drag the thumb."),
                      12);
    note->setParent(host);
    note->setGeometry(360, 38, 270, 120);
    note->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    return host;
}

QWidget* ComboPage() {
    auto* host = new QWidget;
    auto* v = new QVBoxLayout(host);
    host->setAutoFillBackground(true);
    QPalette pal = host->palette();
    pal.setColor(QPalette::Window, QColor(28, 28, 31));
    host->setPalette(pal);
    auto* box = new CColorCombox(nullptr, 1807);
    box->SetTextColour(QColor(240, 240, 240));
    box->SetBackgroundColour(QColor(75, 75, 75));
    box->SetSelectedTextColour(QColor(255, 255, 255));
    box->SetSelectedBackgroundColour(QColor(150, 15, 15));
    box->SetDrawFormat(Qt::AlignCenter);
    for (const char* name : {"CLICK", "BUTTON OFF", "RIGHT BUTTON", "DOUBLE CLICK", "BACKWARD", "FORWARD",
                             "SENSITIVITY-UP", "SENSITIVITY-DOWN"})
        box->AddItem(QString::fromLatin1(name));
    box->setCurrentIndex(4);
    box->setFixedSize(150, 22);
    v->addWidget(Cell(QStringLiteral("CColorCombox closed (function chooser colours)"), box));
    // The open list, drawn by the same delegate the drop-down uses.
    auto* open = new QListView;
    open->setModel(box->model());
    open->setItemDelegate(box->itemDelegate());
    open->setCurrentIndex(box->model()->index(4, 0));
    open->setFixedSize(150, 8 * 20 + 4);
    open->setStyleSheet(QStringLiteral("QListView { background: rgb(75,75,75); border: 1px solid rgb(96,96,104); }"));
    v->addWidget(Cell(QStringLiteral("its list (BACKWARD selected)"), open));
    auto* plain = new CColorCombox;
    plain->AddItem(QStringLiteral("system colours"));
    plain->AddItem(QStringLiteral("second"));
    plain->setFixedSize(150, 22);
    v->addWidget(Cell(QStringLiteral("default colours"), plain));
    v->addStretch();
    return host;
}

}  // namespace gallery
