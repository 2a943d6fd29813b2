#include "dialogs/SkinDlg.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <filesystem>

#include "app/texts/TextTables.h"
#include "dialogs/DialogSupport.h"
#include "macro/MacroFolder.h"
#include "resources/Artwork.h"
#include "skin/ColorCombox.h"
#include "skin/HoverButton.h"
#include "skin/SkinControl.h"
#include "skin/WndShadow.h"

namespace pallix {
namespace {

constexpr int kOkPicture = 338;
constexpr int kCancelPicture = 337;
constexpr int kYesPicture = 247;
constexpr int kDropPicture = 471;
constexpr int kIconPicture = 800;
constexpr QPoint kListAt{15, 88};
constexpr QRect kDropCaption{20, 5, 114, 17};  // (20,5)-(134,22)
constexpr QRect kMessageLine{30, 58, 440, 52};  // inside the message panel (20,56) 460 x 56
constexpr QRect kNameEntryRect{130, 76, 132, 20};
constexpr QRect kCountEntryRect{182, 18, 60, 20};  // inside the entry frame (180,16) 64 x 24
constexpr QPoint kRepeatAt{18, 150};
constexpr int kRepeatStep = 32;

const QColor kTextColour{250, 250, 250};
const QColor kDarkBrush{30, 30, 30};

struct ModeLayout {
    int mode;
    int okPicture;
    QPoint ok;
    bool cancelShown;
    QPoint cancel;
};

constexpr ModeLayout kModes[] = {
    {CSkinDlg::kNameEntry, kOkPicture, {71, 121}, true, {174, 121}},
    {CSkinDlg::kResetWarning, kOkPicture, {285, 127}, true, {388, 127}},
    {CSkinDlg::kMessage, kOkPicture, {388, 127}, false, {}},
    {CSkinDlg::kConfirmation, kOkPicture, {285, 127}, true, {388, 127}},
    {CSkinDlg::kProfileSaveWarning, kOkPicture, {285, 127}, true, {388, 127}},
    {CSkinDlg::kBattleModeNotice, kYesPicture, {492, 127}, false, {}},
    {CSkinDlg::kLeftButtonWarning, kYesPicture, {448, 127}, false, {}},
    {CSkinDlg::kFunctionChooser, kOkPicture, {45, 145}, true, {148, 145}},
    {CSkinDlg::kMacroChooser, kOkPicture, {45, 287}, true, {148, 287}},
    {CSkinDlg::kCountEntry, kOkPicture, {45, 56}, true, {148, 56}},
};
// A mode nobody knows keeps the buttons where the warnings have them.
constexpr ModeLayout kUnknownMode{0, kOkPicture, {285, 127}, true, {388, 127}};

const ModeLayout& LayoutOf(int mode) {
    for (const ModeLayout& m : kModes)
        if (m.mode == mode) return m;
    return kUnknownMode;
}

// Function chooser entries: rows 1-6, 8 and 9 of the standard function table.
constexpr int kEntryRows[CSkinDlg::kFunctionEntries] = {1, 2, 3, 4, 5, 6, 8, 9};

// Repeat option pictures: selected, not selected.
constexpr int kRepeatPictures[4][2] = {{268, 271}, {269, 272}, {270, 273}, {472, 473}};
constexpr int kRepeatTips[4] = {texts::UI_ONE_TIME, texts::UI_MULTIPLE_LOOPS, texts::UI_REPEAT_HOLD,
                                texts::UI_REPEAT_UNTIL_NEXT};

bool EndsWithMacNoCase(const QString& s) { return s.endsWith(QStringLiteral("mac"), Qt::CaseInsensitive); }

}  // namespace

CSkinDlg::CSkinDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    ok_ = new CHoverButtonEx(this, IDOK);
    cancel_ = new CHoverButtonEx(this, IDCANCEL);
    for (int i = 0; i < 4; ++i) repeat_[i] = new CHoverButtonEx(this, IDC_REPEAT_ONCE + i);
    message_ = new QLabel(this);
    SetControlId(message_, IDC_MESSAGE);
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    message_->setAttribute(Qt::WA_TransparentForMouseEvents);  // a press on it drags the window
    QPalette pal = message_->palette();
    pal.setColor(QPalette::WindowText, kTextColour);
    message_->setPalette(pal);
    message_->setGeometry(kMessageLine);
    list_ = new CColorCombox(this, IDC_LIST);
    drop_ = new CHoverButtonEx2(this, IDC_DROP);
    entry_ = new QLineEdit(this);
    SetControlId(entry_, IDC_ENTRY);
    StyleEntryField(entry_);
    shadow_ = new CWndShadow();
    shadow_->setParent(this);

    connect(ok_, &QAbstractButton::clicked, this, &CSkinDlg::OnOk);
    connect(cancel_, &QAbstractButton::clicked, this, &CSkinDlg::OnCancel);
    for (int i = 0; i < 4; ++i)
        connect(repeat_[i], &QAbstractButton::clicked, this, [this, i] { OnRepeatOption(i); });
    connect(drop_, &QAbstractButton::clicked, list_, &QComboBox::showPopup);
    connect(list_, qOverload<int>(&QComboBox::activated), this, &CSkinDlg::OnListPicked);
    connect(entry_, &QLineEdit::textChanged, this, &CSkinDlg::OnEntryChanged);
    for (QWidget* w : {static_cast<QWidget*>(message_), static_cast<QWidget*>(list_),
                       static_cast<QWidget*>(drop_), static_cast<QWidget*>(entry_)})
        w->hide();
    for (CHoverButtonEx* b : repeat_) b->hide();
    resize(kTemplateSize);
}

CSkinDlg::~CSkinDlg() = default;

void CSkinDlg::Initialise(const QFont& messageFont, const QFont& listFont) {
    const QImage icon = ProgramArtwork().Image(kIconPicture);
    if (!icon.isNull()) setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    messageFont_ = messageFont;
    listFont_ = listFont;
    ok_->SetTooltipText(UiQString(texts::UI_YES));
    cancel_->SetTooltipText(UiQString(texts::UI_NO));
    for (int i = 0; i < 4; ++i) repeat_[i]->SetTooltipText(UiQString(kRepeatTips[i]));
    setWindowTitle(UiQString(texts::UI_TITLE));
    initialised_ = true;
}

CHoverButtonEx* CSkinDlg::RepeatButton(int option) const {
    return option >= 0 && option < 4 ? repeat_[option] : nullptr;
}

int CSkinDlg::RowOfEntry(int entry) {
    return entry >= 0 && entry < kFunctionEntries ? kEntryRows[entry] : -1;
}

int CSkinDlg::EntryOfRow(int row) {
    for (int i = 0; i < kFunctionEntries; ++i)
        if (kEntryRows[i] == row) return i;
    return -1;
}

QString CSkinDlg::ValidatedCount(const QString& input) { return ValidatedNumber(input, 255); }

void CSkinDlg::setVisible(bool visible) {
    if (visible && !laidOut_) {
        laidOut_ = true;
        LayOut();
    } else if (!visible && laidOut_) {
        // Nothing carries over to the next run but the fields.
        laidOut_ = false;
        validateNumber_ = false;
        list_->clear();
        skin_.Release();
    }
    QDialog::setVisible(visible);
}

void CSkinDlg::LayOut() {
    if (!initialised_ || mode == kNoMode) return;
    face_ = ProgramArtwork().Image(mode);
    shape_ = CSkinnedWindow::FaceShape(face_);
    if (!shape_.isEmpty()) {
        setMask(shape_);
        shadow_->CreateShadow(this);
    } else {
        clearMask();
    }

    for (CHoverButtonEx* b : {ok_, cancel_}) b->SetHorizontal(true);
    for (CHoverButtonEx* b : repeat_) {
        b->SetHorizontal(true);
        b->hide();
    }
    // The entry and chooser faces have no panel for a message line; there `text` is
    // the name the mode works on.
    const bool hasMessagePanel = mode != kNameEntry && mode != kFunctionChooser && mode != kMacroChooser &&
                                 mode != kCountEntry;
    if (text.isEmpty() || !hasMessagePanel) {
        message_->hide();
    } else {
        message_->setFont(messageFont_);
        message_->setText(text.left(kTextCapacity - 1));
        message_->show();
    }
    validateNumber_ = false;
    entry_->hide();
    drop_->hide();
    list_->hide();

    const QSize size = face_.isNull() ? kTemplateSize : face_.size();
    setFixedSize(size);
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect();
    move(screen.x() + (screen.width() - size.width()) / 2, screen.y() + (screen.height() - size.height()) / 2);

    const ModeLayout& layout = LayoutOf(mode);
    ok_->LoadStrip(layout.okPicture);
    ok_->move(layout.ok);
    ok_->ResetHover();
    ok_->show();
    cancel_->LoadStrip(kCancelPicture);
    cancel_->ResetHover();
    cancel_->move(layout.cancel);
    cancel_->setVisible(layout.cancelShown);

    switch (mode) {
    case kNameEntry: LayOutNameEntry(); break;
    case kFunctionChooser: LayOutFunctionChooser(); break;
    case kMacroChooser: LayOutMacroChooser(); break;
    case kCountEntry: LayOutCountEntry(); break;
    default: break;
    }
}

void CSkinDlg::PrepareList() {
    list_->clear();
    list_->SetTextColour(QColor(240, 240, 240));
    list_->SetBackgroundColour(QColor(75, 75, 75));
    list_->SetSelectedTextColour(QColor(255, 255, 255));
    list_->SetSelectedBackgroundColour(QColor(150, 15, 15));
    list_->SetDrawFormat(Qt::AlignCenter);
    list_->setFont(listFont_);
    drop_->SetHorizontal(true);
    drop_->LoadStrip(kDropPicture);
    drop_->SetHighlight(true);
}

void CSkinDlg::SetDropCaption(const QString& caption) {
    drop_->SetCaption(QString(), nullptr, nullptr);
    if (!caption.isEmpty()) drop_->SetCaption(ElideCaption(caption, CHoverButtonEx2::kMaxCaption), &kDropCaption, &listFont_, kTextColour);
}

void CSkinDlg::ShowDropAndList(const QString& caption) {
    SetDropCaption(caption);
    list_->setGeometry(QRect(kListAt, drop_->FrameSize().isValid() ? drop_->FrameSize() : QSize(150, 27)));
    drop_->move(kListAt);
    list_->show();
    drop_->show();
    drop_->raise();
}

void CSkinDlg::LayOutFunctionChooser() {
    PrepareList();
    for (int i = 0; i < kFunctionEntries; ++i) list_->AddItem(QString::fromStdString(texts::FunctionName(kEntryRows[i])));
    const int entry = EntryOfRow(value);
    list_->setCurrentIndex(entry);
    ShowDropAndList(entry >= 0 ? list_->ShownText(entry) : QString());
}

void CSkinDlg::LayOutMacroChooser() {
    PrepareList();
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path given = path.toStdString();
    if (path.size() > 4 && EndsWithMacNoCase(path) && !fs::is_directory(given, ec)) {
        const int slash = int(path.lastIndexOf(QLatin1Char('/')));
        QString name = path.mid(slash + 1);
        const int dot = int(name.lastIndexOf(QLatin1Char('.')));
        if (dot >= 0) name.truncate(dot);
        text = name;
        path = slash >= 0 ? path.left(slash) : QString();
    } else {
        text.clear();
    }

    int current = -1;
    if (!path.isEmpty()) {
        for (const std::string& name : macro::ListMacros(path.toStdString())) {
            const QString entry = QString::fromStdString(name);
            // x.Mac and x.MAC are one macro to bind: the name leads to one file.
            if (list_->findText(entry) >= 0) continue;
            const int index = list_->AddItem(entry);
            if (index < 0) break;
            if (current < 0 && entry == text) current = index;
        }
    }
    if (current < 0) text.clear();
    list_->setCurrentIndex(current);
    ShowDropAndList(text);
    ShowRepeatOptions();
}

void CSkinDlg::ShowRepeatOptions() {
    for (int i = 0; i < 4; ++i) {
        repeat_[i]->LoadStrip(kRepeatPictures[i][repeatOption == i ? 0 : 1]);
        repeat_[i]->move(kRepeatAt + QPoint(0, i * kRepeatStep));
        repeat_[i]->show();
    }
}

void CSkinDlg::LayOutCountEntry() {
    value = std::clamp(value, 0, 255);
    validateNumber_ = true;
    entry_->setFont(messageFont_);
    entry_->setMaxLength(kCountEntryLength);
    entry_->setGeometry(kCountEntryRect);
    entry_->setText(QString::number(value));
    entry_->show();
    entry_->setFocus();
    entry_->selectAll();
}

void CSkinDlg::LayOutNameEntry() {
    validateNumber_ = false;
    entry_->setGeometry(kNameEntryRect);
    entry_->setFont(messageFont_);
    entry_->setMaxLength(kNameEntryLength);
    entry_->setText(text);
    entry_->show();
    entry_->setFocus();
}

void CSkinDlg::OnEntryChanged() {
    if (!validateNumber_) return;
    const QString now = entry_->text();
    const QString valid = ValidatedCount(now);
    if (valid != now) entry_->setText(valid);
}

void CSkinDlg::OnListPicked(int entry) {
    if (mode == kFunctionChooser) {
        const int row = RowOfEntry(entry);
        if (row < 0) return;
        value = row;
        SetDropCaption(QString::fromStdString(texts::FunctionName(row)));
    } else if (mode == kMacroChooser) {
        text = entry >= 0 && entry < list_->count() ? list_->ShownText(entry) : QString();
        SetDropCaption(text);
    }
}

void CSkinDlg::OnRepeatOption(int option) {
    repeatOption = option;
    ShowRepeatOptions();
    if (option != kRepeatMultiple) return;
    CSkinDlg count(this);
    count.Initialise(messageFont_, listFont_);
    count.text.clear();
    count.mode = kCountEntry;
    count.repeatOption = kRepeatNone;
    count.value = value;
    if (count.exec() == kResultOk) value = count.value;
}

void CSkinDlg::OnOk() {
    ok_->ResetHover();
    if (mode == kCountEntry) value = entry_->text().toInt();
    else if (mode == kNameEntry) text = entry_->text().left(kNameEntryLength);
    done(kResultOk);
}

void CSkinDlg::OnCancel() {
    cancel_->ResetHover();
    done(kResultCancel);
}

void CSkinDlg::done(int result) { QDialog::done(result == kResultOk ? kResultOk : kResultCancel); }

void CSkinDlg::reject() { OnCancel(); }

void CSkinDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (face_.isNull() || mode == kNoMode) p.fillRect(rect(), kDarkBrush);
    else p.drawImage(0, 0, face_);
}

void CSkinDlg::mousePressEvent(QMouseEvent* e) {
    if (!skin_.Press(e, true)) QDialog::mousePressEvent(e);
}

void CSkinDlg::mouseMoveEvent(QMouseEvent* e) {
    if (!skin_.Move(e)) QDialog::mouseMoveEvent(e);
}

void CSkinDlg::mouseReleaseEvent(QMouseEvent* e) {
    skin_.Release();
    QDialog::mouseReleaseEvent(e);
}

void CSkinDlg::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        OnOk();
        return;
    }
    QDialog::keyPressEvent(e);  // Escape ends with CANCEL through reject()
}

}  // namespace pallix
