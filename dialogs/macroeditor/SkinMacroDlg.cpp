#include "dialogs/macroeditor/SkinMacroDlg.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include "app/texts/ExtraTexts.h"
#include "app/texts/TextTables.h"
#include "app/texts/qt/ShowMessage.h"
#include "common/Posting.h"
#include "dialogs/DialogSupport.h"
#include "dialogs/SkinDlg.h"
#include "dialogs/macroeditor/DelayField.h"
#include "dialogs/macroeditor/MacroRecorder.h"
#include "dialogs/macroeditor/SkinListCtrl.h"
#include "macro/MacroFolder.h"
#include "macro/MacroTexts.h"
#include "platform/qt/QtMailbox.h"
#include "resources/Artwork.h"
#include "skin/ColorCombox.h"
#include "skin/HoverButton.h"
#include "skin/SkinnedWindow.h"
#include "skin/SkinControl.h"
#include "skin/WndShadow.h"

namespace pallix {

using namespace pallix::macro;
namespace fs = std::filesystem;

namespace {

constexpr QRect kListRect{38, 99 + 0, 300, 330};
constexpr QRect kDropCaption{20, 5, 114, 17};
const QColor kCaptionColour{250, 250, 250};
constexpr int kNoTooltip = -1;
constexpr int kCommandsCaption = 20;  // command-name entry "Commands"
constexpr const char* kFileFolderValue = "Macro File Folder";
QString FileFilter() {
    return QString::fromStdString(texts::Extra(texts::EXTRA_MACRO_FILES)) + QStringLiteral(" (*.mac);;") +
           QString::fromStdString(texts::Extra(texts::EXTRA_ALL_FILES)) + QStringLiteral(" (*)");
}

struct Placement {
    int id, picture;
    QPoint at;
    int tooltip;
};

// The buttons of the face, where the face leaves room for them.
const Placement kButtons[] = {
    {CSkinMacroDlg::IDOK, 338, {340, 446}, texts::UI_OK_EXIT},
    {CSkinMacroDlg::IDCANCEL, 337, {438, 446}, texts::UI_CANCEL},
    {CSkinMacroDlg::IDC_APPLY, 336, {536, 446}, texts::UI_APPLY},
    {CSkinMacroDlg::IDC_INSERT, 258, {536, 70}, texts::UI_INSERT_COMMAND},
    {CSkinMacroDlg::IDC_DELETE, 263, {380, 109}, texts::UI_DELETE},
    {CSkinMacroDlg::IDC_UP, 261, {480, 110}, texts::UI_LINE_UP},
    {CSkinMacroDlg::IDC_DOWN, 262, {526, 110}, texts::UI_LINE_DOWN},
    {CSkinMacroDlg::IDC_RECORD, 256, {380, 170}, texts::UI_RECORD},
    {CSkinMacroDlg::IDC_STOP, 257, {478, 170}, texts::UI_STOP},
    {CSkinMacroDlg::IDC_UNIT_MORE, 350, {440, 240}, kNoTooltip},
    {CSkinMacroDlg::IDC_UNIT_LESS, 351, {466, 240}, kNoTooltip},
    {CSkinMacroDlg::IDC_ADJUST, 258, {496, 239}, texts::UI_ADJUST_DELAY},
    {CSkinMacroDlg::IDC_WITHOUT_DELAY, 357, {380, 320}, texts::UI_WITHOUT_DELAY},
    {CSkinMacroDlg::IDC_DEFAULT_DELAY, 359, {380, 348}, texts::UI_DEFAULT_DELAY},
    {CSkinMacroDlg::IDC_CONFIGURE, 258, {584, 320}, texts::UI_CONFIGURE_DELAY},
    {CSkinMacroDlg::IDC_NEW, 112, {380, 380}, texts::UI_CREATE_MACRO},
    {CSkinMacroDlg::IDC_DELETE_FILE, 113, {478, 380}, texts::UI_DELETE_MACRO_FILE},
    {CSkinMacroDlg::IDC_LOAD, 265, {380, 410}, texts::UI_LOAD_FROM_FILE},
    {CSkinMacroDlg::IDC_SAVE_AS, 266, {478, 410}, texts::UI_SAVE_AS_FILE},
};

QString Ui(int index) { return QString::fromStdString(texts::UiText(index)); }

}  // namespace

CSkinMacroDlg::CSkinMacroDlg(SettingsStore& store, fs::path macroFolder, CSkinDlg& prompt, int profile, int button,
                             ProfileReport profileChanged, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog),
      store_(store),
      folder_(std::move(macroFolder)),
      prompt_(prompt),
      profile_(profile),
      button_(button),
      profileChanged_(std::move(profileChanged)),
      chooseFile_([this](bool save, const QString& proposed) { return DefaultFileChooser(save, proposed); }) {
    setWindowTitle(Ui(texts::UI_TIP_MACRO_EDITOR));
    face_ = ProgramArtwork().Image(kFacePicture);
    setFixedSize(face_.isNull() ? QSize(640, 480) : face_.size());

    list_ = new CSkinListCtrl(this, IDC_LINES);
    list_->setGeometry(kListRect);
    controls_[IDC_LINES] = list_;
    lines_.SetView(list_);

    for (const Placement& p : kButtons) AddButton(p.id, p.picture, p.at, p.tooltip);

    macroList_ = new CColorCombox(this, IDC_MACRO_LIST);
    macroList_->SetUseControlTexts(true);  // the macro folder may hold more than 50
    macroButton_ = new CHoverButtonEx2(this, IDC_MACRO_BUTTON);
    commandList_ = new CColorCombox(this, IDC_COMMAND_LIST);
    commandButton_ = new CHoverButtonEx2(this, IDC_COMMAND_BUTTON);
    const std::pair<CHoverButtonEx2*, CColorCombox*> drops[] = {{macroButton_, macroList_}, {commandButton_, commandList_}};
    const QPoint dropAt[] = {{38, 68}, {380, 68}};
    const int dropPicture[] = {126, 127};
    for (int i = 0; i < 2; ++i) {
        auto [drop, combo] = drops[i];
        drop->SetHorizontal(true);
        drop->LoadStrip(dropPicture[i]);
        drop->SetHighlight(true);
        drop->move(dropAt[i]);
        combo->setGeometry(QRect(dropAt[i], drop->FrameSize().isValid() ? drop->FrameSize() : QSize(150, 27)));
        combo->SetTextColour(QColor(240, 240, 240));
        combo->SetBackgroundColour(QColor(75, 75, 75));
        combo->SetSelectedTextColour(QColor(255, 255, 255));
        combo->SetSelectedBackgroundColour(QColor(150, 15, 15));
        drop->raise();
        connect(drop, &QAbstractButton::clicked, combo, &QComboBox::showPopup);
        controls_[ControlId(drop)] = drop;
        controls_[ControlId(combo)] = combo;
    }
    commandButton_->SetTooltipText(QString::fromStdString(texts::CommandName(kCommandsCaption)));
    connect(macroList_, qOverload<int>(&QComboBox::activated), this, &CSkinMacroDlg::SelectMacro);
    connect(commandList_, qOverload<int>(&QComboBox::activated), this, &CSkinMacroDlg::SelectCommand);

    delayField_ = new QLineEdit(this);
    SetControlId(delayField_, IDC_DELAY);
    delayField_->setGeometry(380, 240, 54, 22);
    delayField_->setMaxLength(kDelayFieldLength);
    defaultField_ = new QLineEdit(this);
    SetControlId(defaultField_, IDC_DEFAULT_FIELD);
    defaultField_->setGeometry(556, 350, 48, 22);
    defaultField_->setMaxLength(kDefaultFieldLength);
    for (QLineEdit* field : {delayField_, defaultField_}) {
        StyleEntryField(field);
        controls_[ControlId(field)] = field;
        connect(field, &QLineEdit::textEdited, this, [this, field] { OnFieldEdited(field); });
    }

    recorder_ = new CMacroRecorder(lines_, this);
    recorder_->SetStopButton(Control(IDC_STOP));
    connect(recorder_, &CMacroRecorder::BufferFull, this, &CSkinMacroDlg::OnBufferFull);
    connect(list_, &CSkinListCtrl::SelectionPicked, this, &CSkinMacroDlg::OnListSelection);
    connect(list_, &CSkinListCtrl::RowClicked, this, &CSkinMacroDlg::OnListClicked);

    shadow_ = new CWndShadow();
    shadow_->setParent(this);
    mailbox_ = std::make_unique<QtMailbox>();
    connect(mailbox_.get(), &QtMailbox::messageReceived, this, &CSkinMacroDlg::OnMailbox);
}

CSkinMacroDlg::~CSkinMacroDlg() {
    recorder_->disconnect(this);  // no message box from a window going away
    recorder_->Stop();
    lines_.SetView(nullptr);
}

CHoverButtonEx* CSkinMacroDlg::AddButton(int id, int picture, QPoint at, int tooltip) {
    auto* button = new CHoverButtonEx(this, id);
    button->SetHorizontal(true);
    button->LoadStrip(picture);
    button->move(at);
    if (tooltip != kNoTooltip) button->SetTooltipText(Ui(tooltip));
    connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    controls_[id] = button;
    return button;
}

QWidget* CSkinMacroDlg::Control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CSkinMacroDlg::SetDialogFont(const QFont& font) {
    font_ = font;
    for (QLineEdit* field : {delayField_, defaultField_}) field->setFont(font);
}

MacroEntry CSkinMacroDlg::CurrentEntry() const { return {macroName_.toStdString(), macroFile_.toStdString()}; }

fs::path CSkinMacroDlg::MacroPath() const { return macroName_.isEmpty() ? fs::path() : EntryPath(folder_, CurrentEntry()); }

bool CSkinMacroDlg::Recording() const { return recorder_->Recording(); }

WindowHandle CSkinMacroDlg::Handle() const { return mailbox_->handle(); }

DelaySettings CSkinMacroDlg::ActiveDelays() const {
    DelaySettings d;
    d.mode = withoutActive_ ? DelayMode::WithoutDelay : defaultActive_ ? DelayMode::DefaultDelay : DelayMode::RealTime;
    d.defaultDelayMs = defaultDelay_;
    return d;
}

// --- showing -----------------------------------------------------------------

void CSkinMacroDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) Initialise();
}

void CSkinMacroDlg::Initialise() {
    shape_ = CSkinnedWindow::FaceShape(face_);
    if (!shape_.isEmpty()) {
        setMask(shape_);
        shadow_->CreateShadow(this);
    }
    list_->Initialise(this, font_);
    FillMacroList();
    commandList_->clear();
    for (int i = 0; i < kCommandCount; ++i) commandList_->AddItem(QString::fromStdString(CommandName(i)));
    commandList_->setCurrentIndex(-1);
    SetCommandCaption(QString());
    macroName_.clear();
    macroFile_.clear();
    SetMacroCaption(QString());
    ResetEditing();
    PublishHandle(store_, kMacroEditHandle, mailbox_->handle());
}

void CSkinMacroDlg::ResetEditing() {
    recorder_->Stop();
    lines_.Clear();
    lines_.SetCapacity(kScriptCapacity);
    lines_.SetDelayUnit(kDelayUnitMs);
    delayField_->setText(QStringLiteral("0"));
    withoutActive_ = defaultActive_ = withoutChosen_ = defaultChosen_ = false;
    defaultDelay_ = 0;
    defaultField_->setText(QStringLiteral("0"));
    ShowModeButtons();
    changed_ = false;
    EnableControls(true);
}

void CSkinMacroDlg::FillMacroList() {
    macroList_->clear();
    for (const MacroEntry& entry : ListMacroEntries(folder_))
        AddMacroEntry(QString::fromStdString(entry.name), QString::fromStdString(entry.file));
    macroList_->setCurrentIndex(-1);
}

void CSkinMacroDlg::AddMacroEntry(const QString& name, const QString& file) { macroList_->addItem(name, file); }

QString CSkinMacroDlg::NewMacroFile(const QString& name) const {
    return QString::fromStdString(BuildMacroPath(folder_, name.toStdString()).filename().string());
}

void CSkinMacroDlg::SetMacroCaption(const QString& name) {
    macroButton_->SetCaption(QString());
    if (!name.isEmpty())
        macroButton_->SetCaption(ElideCaption(name, CHoverButtonEx2::kMaxCaption), &kDropCaption, &font_, kCaptionColour);
}

void CSkinMacroDlg::SetCommandCaption(const QString& caption) {
    const QString text = caption.isEmpty() ? QString::fromStdString(texts::CommandName(kCommandsCaption)) : caption;
    commandButton_->SetCaption(QString());
    commandButton_->SetCaption(ElideCaption(text, CHoverButtonEx2::kMaxCaption), &kDropCaption, &font_, kCaptionColour);
}

void CSkinMacroDlg::ShowModeButtons() {
    auto* without = static_cast<CHoverButtonEx*>(Control(IDC_WITHOUT_DELAY));
    auto* withDefault = static_cast<CHoverButtonEx*>(Control(IDC_DEFAULT_DELAY));
    without->LoadStrip(withoutChosen_ ? 358 : 357);
    withDefault->LoadStrip(defaultChosen_ ? 360 : 359);
}

// --- enabling ----------------------------------------------------------------

void CSkinMacroDlg::EnableControls(bool enable) {
    const bool recording = recorder_->Recording();
    const bool idle = enable && !recording && !busy_;
    for (const auto& [id, control] : controls_) control->setEnabled(idle);
    Control(IDC_STOP)->setEnabled(enable && recording && !busy_);
    if (!idle) return;
    const bool haveMacro = macroList_->currentIndex() >= 0;
    Control(IDC_RECORD)->setEnabled(!macroName_.isEmpty());
    Control(IDC_STOP)->setEnabled(false);
    Control(IDC_APPLY)->setEnabled(changed_);
    defaultField_->setEnabled(defaultChosen_);
    Control(IDC_SAVE_AS)->setEnabled(haveMacro);
    Control(IDC_DELETE_FILE)->setEnabled(haveMacro);
    Control(IDC_CONFIGURE)->setEnabled(haveMacro);
    Control(IDC_INSERT)->setEnabled(haveMacro && commandList_->currentIndex() >= 0);
    UpdateLineButtons();
}

void CSkinMacroDlg::UpdateLineButtons() {
    if (recorder_->Recording() || busy_) return;
    const std::vector<int> selected = lines_.SelectedLines();
    const int one = selected.size() == 1 ? selected.front() : -1;
    // With no line selected DELETE offers to clear them all.
    Control(IDC_DELETE)->setEnabled(lines_.Count() > 0);
    Control(IDC_ADJUST)->setEnabled(one >= 0);
    const bool movable = one >= 0 && lines_.Count() >= 2;
    Control(IDC_UP)->setEnabled(movable && one > 0);
    Control(IDC_DOWN)->setEnabled(movable && one < lines_.Count() - 1);
}

void CSkinMacroDlg::SetChanged() {
    changed_ = true;
    if (!recorder_->Recording() && !busy_) Control(IDC_APPLY)->setEnabled(true);
}

// --- messages ----------------------------------------------------------------

void CSkinMacroDlg::Tell(MacroMessage message, const QString& suffix) {
    ShowMessageText(QString::fromStdString(texts::MessageText(static_cast<int>(message))) + suffix);
}

void CSkinMacroDlg::ShowMessageText(const QString& text) { texts::ShowMessageText(text, &prompt_, this); }

bool CSkinMacroDlg::Confirm(const QString& question) {
    prompt_.mode = CSkinDlg::kConfirmation;
    prompt_.text = question;
    prompt_.path.clear();
    prompt_.repeatOption = CSkinDlg::kRepeatNone;
    prompt_.value = 0;
    return prompt_.exec() == CSkinDlg::kResultOk;
}

int CSkinMacroDlg::OnDeviceEvent(std::uint32_t wParam, std::uint32_t lParam) {
    if (wParam != OSD_PROFILE_LEVEL) return 0;
    if (lParam & 0x80) {
        const int profile = static_cast<int>((lParam >> 4) & 7);
        if (profile <= kMaxProfile) {
            profile_ = profile;
            if (profileChanged_) profileChanged_(profile);
        }
    }
    return 1;
}

void CSkinMacroDlg::OnMailbox(const Message& message) {
    if (message.message == WM_DEVICE_EVENT) OnDeviceEvent(message.wParam, message.lParam);
}

void CSkinMacroDlg::Withdraw() { WithdrawHandle(store_, kMacroEditHandle); }

// --- commands ----------------------------------------------------------------

void CSkinMacroDlg::OnCommand(int id) {
    switch (id) {
    case IDOK: OnOk(); break;
    case IDCANCEL: OnCancel(); break;
    case IDC_APPLY: OnApply(); break;
    case IDC_INSERT: OnInsert(); break;
    case IDC_RECORD: OnRecord(); break;
    case IDC_STOP: OnStop(); break;
    case IDC_DELETE: OnDelete(); break;
    case IDC_UP: OnMove(true); break;
    case IDC_DOWN: OnMove(false); break;
    case IDC_UNIT_MORE: OnUnit(true); break;
    case IDC_UNIT_LESS: OnUnit(false); break;
    case IDC_ADJUST: OnAdjust(); break;
    case IDC_WITHOUT_DELAY: OnWithoutDelay(); break;
    case IDC_DEFAULT_DELAY: OnDefaultDelay(); break;
    case IDC_CONFIGURE: OnConfigure(); break;
    case IDC_NEW: OnNew(); break;
    case IDC_LOAD: OnLoad(); break;
    case IDC_SAVE_AS: OnSaveAs(); break;
    case IDC_DELETE_FILE: OnDeleteFile(); break;
    default: break;
    }
}

bool CSkinMacroDlg::Save(const fs::path& path) {
    busy_ = true;
    EnableControls(false);
    const FileResult result = WriteMacroFile(path, lines_, ActiveDelays());
    busy_ = false;
    if (!result.ok) Tell(MacroMessage::SaveScriptFailed);
    EnableControls(true);
    return result.ok;
}

void CSkinMacroDlg::OnOk() {
    if (recorder_->Recording()) return;
    // With no macro current there is no file to save into.
    if (changed_ && !macroName_.isEmpty()) Save(MacroPath());
    Withdraw();
    SetCommandCaption(QString());
    done(QDialog::Accepted);
}

void CSkinMacroDlg::OnApply() {
    if (changed_) {
        // A failed save keeps the edit marked as unsaved.
        if (macroName_.isEmpty() || Save(MacroPath())) {
            changed_ = false;
            Control(IDC_APPLY)->setEnabled(false);
        }
    }
    SetCommandCaption(QString());
}

void CSkinMacroDlg::OnCancel() {
    recorder_->Stop();
    Withdraw();
    SetCommandCaption(QString());
    done(QDialog::Rejected);
}

void CSkinMacroDlg::SelectMacro(int index) {
    if (index < 0 || index >= macroList_->count()) return;
    macroList_->setCurrentIndex(index);
    macroName_ = macroList_->itemText(index);
    macroFile_ = macroList_->itemData(index).toString();
    if (macroFile_.isEmpty()) {  // an entry added without its file
        const fs::path found = FindMacroFile(folder_, macroName_.toStdString());
        macroFile_ = found.empty() ? NewMacroFile(macroName_) : QString::fromStdString(found.filename().string());
    }
    SetMacroCaption(macroName_);
    busy_ = true;
    EnableControls(false);
    const MacroScript script = ReadMacroFile(MacroPath(), macroName_.toStdString());
    busy_ = false;
    if (script.length >= 0) {
        lines_.Decode(script.Script());
        withoutActive_ = withoutChosen_ = script.delays.mode == DelayMode::WithoutDelay;
        defaultActive_ = defaultChosen_ = script.delays.mode == DelayMode::DefaultDelay;
        defaultDelay_ = script.delays.defaultDelayMs;
        defaultField_->setText(QString::number(defaultDelay_));
        ShowModeButtons();
    } else {
        lines_.Clear();
        Tell(script.message, QString::fromStdString(script.suffix));
    }
    EnableControls(true);
}

void CSkinMacroDlg::SelectCommand(int index) {
    commandList_->setCurrentIndex(index);
    SetCommandCaption(index >= 0 ? commandList_->ShownText(index) : QString());
    EnableControls(true);
}

void CSkinMacroDlg::OnInsert() {
    const int selection = commandList_->currentIndex();
    if (selection < 0 || selection >= kCommandCount) {
        Tell(MacroMessage::BadSelectedMacro);
        return;
    }
    const auto sub = static_cast<std::uint8_t>(SUB_FIRST_COMMAND + selection);
    int line = lines_.SelectedLines().size() == 1 ? lines_.InsertExtended(sub) : lines_.AppendExtended(sub);
    if (line == CSkinLVCmdList::kBufferFull) {
        recorder_->Stop();
        EnableControls(true);
        Tell(MacroMessage::BufferFull);
        return;
    }
    if (line < 0) return;
    list_->ScrollIntoView(line);
    SetChanged();
    UpdateLineButtons();
}

void CSkinMacroDlg::OnDelete() {
    if (!lines_.SelectedLines().empty()) {
        lines_.DeleteSelected();
    } else if (Confirm(QString::fromStdString(texts::MessageText(static_cast<int>(MacroMessage::ClearDefinitions))))) {
        lines_.Clear();
    } else {
        return;
    }
    SetChanged();
    UpdateLineButtons();
}

void CSkinMacroDlg::OnMove(bool up) {
    const int moved = up ? lines_.MoveUp() : lines_.MoveDown();
    if (moved < 0) return;
    UpdateLineButtons();
    SetChanged();
}

void CSkinMacroDlg::OnFieldEdited(QLineEdit* field) {
    const QString text = field->text();
    const QString valid = delayfield::Validated(text);
    if (valid != text) field->setText(valid);
}

void CSkinMacroDlg::OnUnit(bool more) {
    const long long n = delayfield::ReadNumber(delayField_->text(), 19);
    delayField_->setText(QString::number(more ? delayfield::UnitMore(n) : delayfield::UnitLess(n)));
    SetChanged();
}

void CSkinMacroDlg::OnAdjust() {
    long long ms = delayfield::ReadNumber(delayField_->text(), 19);
    if (ms > delayfield::kMaxDelayMs) {
        ms = delayfield::kMaxDelayMs;
        delayField_->setText(QString::number(ms));
    }
    if (ms < 0) ms = 0;
    if (lines_.SetDelay(static_cast<int>(ms)) == 0) {
        Tell(MacroMessage::NoSelectedItem);
        return;
    }
    SetChanged();
}

void CSkinMacroDlg::OnWithoutDelay() {
    withoutChosen_ = !withoutChosen_;
    if (withoutChosen_) defaultChosen_ = false;
    defaultField_->setEnabled(defaultChosen_);
    ShowModeButtons();
}

void CSkinMacroDlg::OnDefaultDelay() {
    defaultChosen_ = !defaultChosen_;
    if (defaultChosen_) {
        withoutChosen_ = false;
        defaultField_->setEnabled(true);
        defaultField_->setFocus();
    } else {
        defaultField_->setEnabled(false);
    }
    ShowModeButtons();
}

void CSkinMacroDlg::OnConfigure() {
    withoutActive_ = withoutChosen_;
    defaultActive_ = defaultChosen_;
    if (!withoutChosen_) {
        defaultDelay_ = delayfield::DefaultDelayOf(delayfield::ReadNumber(defaultField_->text(), 11));
        defaultField_->setText(QString::number(defaultDelay_));
    }
}

void CSkinMacroDlg::OnRecord() {
    if (recorder_->Recording()) return;
    if (!recorder_->Start(ActiveDelays())) {
        Tell(MacroMessage::RecordFailure);
        return;
    }
    EnableControls(true);
    activateWindow();
    setFocus();
}

void CSkinMacroDlg::OnStop() {
    if (!recorder_->Recording()) return;
    recorder_->Stop();
    EnableControls(true);
    SetChanged();
}

void CSkinMacroDlg::OnBufferFull() {
    EnableControls(true);
    Tell(MacroMessage::BufferFull);
}

void CSkinMacroDlg::OnNew() {
    busy_ = true;
    EnableControls(false);
    prompt_.mode = CSkinDlg::kNameEntry;
    prompt_.text.clear();
    prompt_.path.clear();
    prompt_.repeatOption = CSkinDlg::kRepeatNone;
    prompt_.value = 0;
    if (prompt_.exec() == CSkinDlg::kResultOk) {
        const QString name = prompt_.text;
        const FileResult result = CreateMacroFile(folder_, name.toStdString());
        if (result.ok) {
            busy_ = false;
            ResetEditing();
            macroName_ = name;
            macroFile_ = NewMacroFile(name);
            AddMacroEntry(name, macroFile_);
            macroList_->setCurrentIndex(macroList_->count() - 1);
            SetMacroCaption(name);
        } else {
            Tell(result.message, QString::fromStdString(result.suffix));
        }
    }
    busy_ = false;
    if (macroList_->currentIndex() < 0) {
        macroName_.clear();
        macroFile_.clear();
        SetMacroCaption(QString());
    }
    changed_ = true;
    EnableControls(true);
}

QString CSkinMacroDlg::DefaultFileChooser(bool save, const QString& proposed) {
    QFileDialog dialog(this);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("MAC"));
    dialog.setNameFilter(FileFilter());
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDirectory(FileDialogFolder());
    if (save) dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().front();
}

QString CSkinMacroDlg::FileDialogFolder() {
    std::string stored;
    std::error_code ec;
    if (store_.ReadString(kFileFolderValue, stored) && !stored.empty() && fs::is_directory(stored, ec))
        return QString::fromStdString(stored);
    return QString::fromStdString(folder_.string());
}

void CSkinMacroDlg::RememberFileFolder(const QString& chosen) {
    const std::string parent = fs::path(chosen.toStdString()).parent_path().string();
    if (!parent.empty()) store_.WriteString(kFileFolderValue, parent);
}

void CSkinMacroDlg::OnLoad() {
    const QString path = chooseFile_(false, QString());
    if (path.isEmpty()) return;
    RememberFileFolder(path);
    LoadFromFile(path);
}

void CSkinMacroDlg::LoadFromFile(const QString& path) {
    const FileResult result = ImportMacroFile(folder_, path.toStdString());
    if (result.ok) {
        const QString name = QString::fromStdString(result.suffix);
        AddMacroEntry(name, NewMacroFile(name));
        macroList_->setCurrentIndex(macroList_->count() - 1);
    } else {
        Tell(result.message, QString::fromStdString(result.suffix));
    }
    if (macroList_->currentIndex() >= 0) SelectMacro(macroList_->currentIndex());
    changed_ = false;
    Control(IDC_APPLY)->setEnabled(false);
}

void CSkinMacroDlg::OnSaveAs() {
    const QString path = chooseFile_(true, macroName_);
    if (path.isEmpty()) return;
    RememberFileFolder(path);
    SaveAsFile(path);
}

void CSkinMacroDlg::SaveAsFile(const QString& path) { Save(path.toStdString()); }

void CSkinMacroDlg::OnDeleteFile() {
    const int index = macroList_->currentIndex();
    if (macroName_.isEmpty() || index < 0 || macroList_->itemText(index) != macroName_) {
        Tell(MacroMessage::NoSelectedItem);
        return;
    }
    const FileResult result = DeleteMacroFile(folder_, CurrentEntry());
    if (!result.ok) Tell(result.message, QString::fromStdString(result.suffix));
    macroList_->removeItem(index);
    macroList_->setCurrentIndex(-1);
    macroName_.clear();
    macroFile_.clear();
    SetMacroCaption(QString());
    lines_.Clear();
    EnableControls(true);
}

void CSkinMacroDlg::OnListSelection(const std::vector<int>& rows) { SelectLines(rows); }

void CSkinMacroDlg::SelectLines(const std::vector<int>& rows) {
    lines_.SetSelection(rows);
    if (rows.size() == 1) lines_.Select(rows.front());
    UpdateLineButtons();
}

void CSkinMacroDlg::OnListClicked() {
    const std::vector<int> rows = lines_.SelectedLines();
    if (!rows.empty()) lines_.Select(rows.front());
    UpdateLineButtons();
}

// --- window ------------------------------------------------------------------

void CSkinMacroDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (face_.isNull()) p.fillRect(rect(), QColor(20, 20, 20));
    else p.drawImage(0, 0, face_);
}

void CSkinMacroDlg::mousePressEvent(QMouseEvent* e) {
    if (!skin_.Press(e, e->position().y() < kDragBand)) QDialog::mousePressEvent(e);
}

void CSkinMacroDlg::mouseMoveEvent(QMouseEvent* e) {
    if (!skin_.Move(e)) QDialog::mouseMoveEvent(e);
}

void CSkinMacroDlg::mouseReleaseEvent(QMouseEvent* e) {
    skin_.Release();
    QDialog::mouseReleaseEvent(e);
}

void CSkinMacroDlg::keyPressEvent(QKeyEvent* e) {
    // Escape is Cancel; Enter does not close the editor (it edits fields).
    if (e->key() == Qt::Key_Escape) {
        if (!recorder_->Recording()) OnCancel();
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(e);
}

void CSkinMacroDlg::closeEvent(QCloseEvent* e) {
    if (recorder_->Recording()) {
        e->ignore();
        return;
    }
    Withdraw();
    QDialog::closeEvent(e);
}

}  // namespace pallix
