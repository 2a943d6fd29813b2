#include "app/window/MainFrameDlg.h"

#include <algorithm>

#include <QCloseEvent>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStandardPaths>
#include <QUrl>

#include "app/texts/ExtraTexts.h"
#include "app/texts/TextTables.h"
#include "app/texts/qt/ShowMessage.h"
#include "app/texts/qt/TextFonts.h"
#include "app/window/DeviceSelectDlg.h"
#include "dialogs/OsdProgress.h"
#include "dialogs/SkinDlg.h"
#include "dialogs/UiKeyIndex.h"
#include "dialogs/UiKeyStatus.h"
#include "device/ButtonFunctions.h"
#include "platform/ProcessLauncher.h"
#include "platform/qt/EventDrivenWatchScheduler.h"
#include "platform/qt/QtMailbox.h"
#include "resources/Artwork.h"
#include "skin/FocusMark.h"
#include "skin/HoverButton.h"
#include "skin/SkinnedWindow.h"
#include "skin/SkinControl.h"

namespace pallix::app {

namespace {

constexpr int kPageFaceBase = 121;
constexpr int kProfileNormal[5] = {165, 166, 167, 168, 288};
constexpr int kProfileSelected[5] = {169, 170, 171, 172, 289};

// Spots of buttons 1-8 on the mouse picture of page 3.
constexpr QPoint kMarkerSpots[8] = {{120, 240}, {240, 240}, {180, 245}, {78, 330},
                                    {78, 380}, {180, 310}, {282, 330}, {180, 350}};
// Profiles 1-3 in the first row, 4 and 5 below, right-aligned under the heading.
constexpr QPoint kProfileSpots[5] = {{385, 183}, {490, 183}, {595, 183}, {490, 215}, {595, 215}};

const char* kButtonStyle =
    "QPushButton { color: #e6e6e6; background: #2a2a2a; border: 1px solid #6a1010; border-radius: 3px;"
    " font: bold 11px; padding: 2px; }"
    "QPushButton:hover { background: #5a1010; }"
    "QPushButton[selected=\"true\"] { color: #ffffff; background: #a01818; border-color: #e03030; }"
    "QPushButton:disabled { color: #777; border-color: #444; }"
    "QPushButton[keyboardFocus=\"true\"]:focus { border: 2px solid #ffbe78; padding: 1px; }";

// The tooltip of each command from the UI strings (a language file changes them).
int TooltipString(int id) {
    switch (id) {
    case IDC_RESTORE_PROFILE: return texts::UI_TIP_RESET_PROFILE;
    case IDC_REGISTER: return texts::UI_TIP_REGISTER;
    case IDC_HELP: return texts::UI_TIP_HELP;
    case IDC_APPLY: return texts::UI_TIP_APPLY;
    case IDC_CANCEL: return texts::UI_TIP_CANCEL_QUIT;
    case IDC_OK: return texts::UI_TIP_OK_QUIT;
    case IDC_MACRO_EDITOR: return texts::UI_TIP_MACRO_EDITOR;
    case IDC_PERFORMANCE: return texts::UI_TIP_ADVANCED;
    case IDC_LIGHTING: return texts::UI_TIP_LED;
    case IDC_MACRO: return texts::UI_MACRO_FUNCTION;
    case IDC_FUNCTION: return texts::UI_SINGLE_KEY_FUNCTION;
    case IDC_RESTORE_BUTTON: return texts::UI_DEFAULT_FUNCTION;
    case IDC_LAUNCH: return texts::UI_LAUNCHER_FUNCTION;
    case IDC_EXIT:
    case ID_APP_EXIT: return texts::UI_CLOSE;
    default: break;
    }
    if (id >= IDC_PROFILE_FIRST && id < IDC_PROFILE_FIRST + 5) return texts::UI_TIP_PROFILE_1 + (id - IDC_PROFILE_FIRST);
    return -1;
}

QString CommandTooltip(int id) {
    if (id == IDC_LED_NORMAL) return QString::fromStdString(texts::LedCaption(0));
    if (id == IDC_LED_BATTLE) return QString::fromStdString(texts::LedCaption(1));
    const int index = TooltipString(id);
    return index < 0 ? QString() : QString::fromStdString(texts::UiText(index));
}

void SetSelectedLook(QWidget* button, bool selected) {
    if (!button || button->property("selected").toBool() == selected) return;
    button->setProperty("selected", selected);
    button->style()->unpolish(button);
    button->style()->polish(button);
    button->update();
}

// Arrow keys step through a row of controls in this order, wrapping around.
QWidget* Neighbour(const std::vector<QWidget*>& row, QWidget* from, bool forward) {
    const auto at = std::find(row.begin(), row.end(), from);
    if (at == row.end()) return nullptr;
    const auto n = static_cast<std::ptrdiff_t>(row.size());
    std::ptrdiff_t i = at - row.begin();
    for (std::ptrdiff_t step = 1; step < n; ++step) {
        QWidget* w = row[static_cast<std::size_t>(((i + (forward ? step : -step)) % n + n) % n)];
        if (w->isEnabled() && w->isVisible()) return w;
    }
    return nullptr;
}

int KeyStatusKind(ButtonKind kind) {
    switch (kind) {
    case ButtonKind::kMacro: return CUiKeyStatus::kMacro;
    case ButtonKind::kSingleKey: return CUiKeyStatus::kSingleKey;
    case ButtonKind::kLauncher: return CUiKeyStatus::kLauncher;
    case ButtonKind::kDefault: break;
    }
    return CUiKeyStatus::kDefault;
}

QString ButtonText(const ButtonView& view) {
    if (!view.storedName && view.function >= 0 && view.function < texts::kFunctionNameCount)
        return QString::fromStdString(texts::FunctionName(view.function));
    return QString::fromStdString(view.name);
}

}  // namespace

CMainFrameDlg::CMainFrameDlg(ModelParts parts, bool automation, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      mailbox_(std::make_unique<QtMailbox>()),
      prompt_(std::make_unique<CSkinDlg>(this)),
      progress_(std::make_unique<COsdProgress>()),
      focusMark_(new CFocusMark(this)) {
    prompt_->Initialise(texts::BuildFont(5), texts::BuildFont(4));
    texts::SetMessagePrompt(prompt_.get());
    progress_->Create(COsdProgress::kFrames);
    setWindowTitle(QString::fromStdString(texts::UiText(texts::UI_TITLE)));
    setAttribute(Qt::WA_DeleteOnClose, false);
    model_ = std::make_unique<CMainFrameModel>(std::move(parts), *this);
    model_->SetAutomation(automation);
    hidden_ = automation;
    AttachQtHidWatch(model_->Hid());
    connect(mailbox_.get(), &QtMailbox::messageReceived, this,
            [this](const Message& m) { model_->HandleMessage(m); });
    BuildControls();
    focusMark_->ListenTo(this);
    PageChanged(kPageNoMouse);
}

CMainFrameDlg::~CMainFrameDlg() {
    if (texts::MessagePrompt() == prompt_.get()) texts::SetMessagePrompt(nullptr);
    model_.reset();  // withdraws the published handles while the mailbox still exists
}

QAbstractButton* CMainFrameDlg::AddCommand(int id, const QString& text, QRect where) {
    auto* button = new QPushButton(text, this);
    SetControlId(button, id);
    button->setStyleSheet(kButtonStyle);
    button->setGeometry(where);
    button->setToolTip(CommandTooltip(id));
    TakeKeyboard(button);
    connect(button, &QAbstractButton::clicked, this, &CMainFrameDlg::OnCommand);
    return button;
}

void CMainFrameDlg::BuildControls() {
    for (int p = 0; p < 5; ++p) {
        auto* b = new CHoverButtonEx(this, IDC_PROFILE_FIRST + p);
        b->SetHorizontal(true);
        b->LoadStrip(kProfileNormal[p]);
        b->move(kProfileSpots[p]);
        b->SetTooltipText(CommandTooltip(IDC_PROFILE_FIRST + p));
        TakeKeyboard(b);
        b->installEventFilter(this);
        connect(b, &QAbstractButton::clicked, this, &CMainFrameDlg::OnCommand);
        profiles_[static_cast<std::size_t>(p)] = b;
        configControls_.push_back(b);
    }
    status_ = new CUiKeyStatus(this, IDC_BUTTON_NAME);
    status_->SetupItems();
    status_->SetKindImages(CUiKeyStatus::kKindImages);
    status_->SetShownItem(-1);
    status_->move(360, 260);
    status_->Refresh();
    connect(status_, &CUiKeyStatus::Posted, this, &CMainFrameDlg::OnKeyStatus, Qt::QueuedConnection);
    configControls_.push_back(status_);
    for (int i = 0; i < 8; ++i) {
        auto* m = new CUiKeyIndex(this, IDC_MARKER_FIRST + i);
        m->SetSkin(CUiKeyIndex::kSpotNormal, CUiKeyIndex::kSpotPressed, CUiKeyIndex::kSpotHover, 0,
                   CUiKeyIndex::kSpotMask);
        m->setText(QString::number(i + 1));
        m->SetTextColour(QColor(240, 240, 240));
        m->SetButtonIndex(i);
        m->SetKind(CxSkinButton::kRadio);  // the selected button keeps its pressed look
        m->SetGroup(1);
        m->SetStatusPanel(status_);
        m->move(kMarkerSpots[i] - QPoint(11, 11));
        TakeKeyboard(m);
        m->installEventFilter(this);
        connect(m, &QAbstractButton::clicked, this, &CMainFrameDlg::OnCommand);
        markers_[static_cast<std::size_t>(i)] = m;
        configControls_.push_back(m);
    }

    const struct { int id; const char* text; QRect where; } commands[] = {
        {IDC_FUNCTION, "FUNCTION", {560, 260, 90, 26}},
        {IDC_MACRO, "MACRO", {655, 260, 90, 26}},
        {IDC_LAUNCH, "LAUNCH", {560, 292, 90, 26}},
        {IDC_RESTORE_BUTTON, "RESTORE", {655, 292, 90, 26}},
        {IDC_LED_NORMAL, "NORMAL", {360, 374, 90, 26}},
        {IDC_LED_BATTLE, "BATTLE", {455, 374, 90, 26}},
        {IDC_PERFORMANCE, "PERFORMANCE", {360, 414, 120, 26}},
        {IDC_MACRO_EDITOR, "MACRO EDITOR", {485, 414, 120, 26}},
        {IDC_LIGHTING, "LIGHTING", {610, 414, 120, 26}},
        {IDC_RESTORE_PROFILE, "RESTORE PROFILE", {360, 468, 130, 26}},
        {IDC_APPLY, "APPLY", {500, 468, 75, 26}},
        {IDC_CANCEL, "CANCEL", {580, 468, 75, 26}},
        {IDC_OK, "OK", {660, 468, 75, 26}},
        {IDC_REGISTER, "REGISTER", {560, 12, 74, 22}},
        {IDC_HELP, "HELP", {638, 12, 48, 22}},
        {IDC_HIDE, "_", {690, 12, 26, 22}},
    };
    for (const auto& c : commands) configControls_.push_back(AddCommand(c.id, c.text, c.where));
    exitButton_ = AddCommand(IDC_EXIT, QStringLiteral("EXIT"), {620, 470, 110, 30});
    AddCommand(ID_APP_EXIT, QStringLiteral("X"), {722, 12, 26, 22});

    // Tab follows the page from the profiles to the window's own buttons.
    std::vector<int> order;
    for (int p = 0; p < 5; ++p) order.push_back(IDC_PROFILE_FIRST + p);
    for (int i = 0; i < 8; ++i) order.push_back(IDC_MARKER_FIRST + i);
    for (const auto& c : commands) order.push_back(c.id);
    order.push_back(IDC_EXIT);
    order.push_back(ID_APP_EXIT);
    QWidget* previous = nullptr;
    for (int id : order) {
        QWidget* w = FindControl(this, id);
        if (previous && w) setTabOrder(previous, w);
        if (w) previous = w;
    }
}

void CMainFrameDlg::TakeKeyboard(QWidget* control) {
    // Tab and the arrow keys reach it; a click leaves the focus (and its mark) alone.
    control->setFocusPolicy(Qt::TabFocus);
    focusMark_->Watch(control);
}

bool CMainFrameDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool forward = key == Qt::Key_Right || key == Qt::Key_Down;
    if (!forward && key != Qt::Key_Left && key != Qt::Key_Up) return QWidget::eventFilter(watched, event);
    auto* from = qobject_cast<QWidget*>(watched);
    const std::vector<QWidget*> profiles(profiles_.begin(), profiles_.end());
    const std::vector<QWidget*> markers(markers_.begin(), markers_.end());
    const bool isMarker = std::find(markers.begin(), markers.end(), from) != markers.end();
    QWidget* to = Neighbour(isMarker ? markers : profiles, from, forward);
    if (to) {
        to->setFocus(Qt::OtherFocusReason);
        // A button is chosen as the focus arrives, as in any radio group; a profile
        // change asks and writes, so it waits for Space or Enter.
        if (isMarker) static_cast<QAbstractButton*>(to)->click();
    }
    return true;
}

void CMainFrameDlg::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Escape:
        model_->Command(IDC_HIDE);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* button = qobject_cast<QAbstractButton*>(focusWidget());
            button && isAncestorOf(button) && button->isEnabled() && button->isVisible()) {
            button->click();
            return;
        }
        break;
    default: break;
    }
    QWidget::keyPressEvent(e);
}

void CMainFrameDlg::OnCommand() {
    auto* control = qobject_cast<QWidget*>(sender());
    if (control) model_->Command(ControlId(control));
}

void CMainFrameDlg::OnKeyStatus(const Message& message) {
    if (message.message == WM_KEY_HOVER) model_->HandleMessage(message);
}

void CMainFrameDlg::Initialise() {
    model_->Initialise(mailbox_->handle());
}

int CMainFrameDlg::RunModal() {
    if (!hidden_) show();
    Initialise();
    if (closed_) return 0;
    QEventLoop loop;
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
    return 0;
}

// ---- pages -----------------------------------------------------------------

void CMainFrameDlg::PageChanged(int page) {
    if (page == kPageNone) {
        // Loading: out of sight until the configuration page can be shown.
        setFixedSize(1, 1);
        setMask(QRegion(0, 0, 1, 1));
        move(-100, -100);
        return;
    }
    face_ = ProgramArtwork().Image(kPageFaceBase + page);
    setFixedSize(face_.size());
    setMask(CSkinnedWindow::FaceShape(face_));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    ApplyPage();
    update();
    if (showAfterLoad_ && !hidden_) {
        showAfterLoad_ = false;
        showNormal();
        raise();
    }
}

void CMainFrameDlg::ApplyPage() {
    const bool configuration = model_->Page() == kPageConfiguration;
    for (QWidget* w : configControls_) w->setVisible(configuration);
    if (!configuration) status_->SetShownItem(-1);
    exitButton_->setVisible(!configuration);
    StateChanged();
}

void CMainFrameDlg::StateChanged() {
    const bool configuration = model_->Page() == kPageConfiguration;
    if (!configuration) return;
    const int current = model_->CurrentProfile();
    for (int p = 0; p < 5; ++p)
        profiles_[static_cast<std::size_t>(p)]->LoadStrip(p == current ? kProfileSelected[p] : kProfileNormal[p]);
    const int selected = model_->SelectedButton();
    for (int i = 0; i < 8; ++i) {
        const ButtonView view = model_->Button(i);
        status_->SetItem(KeyStatusKind(view.kind), ButtonText(view), i, false);
    }
    status_->SetShownItem(selected < 8 ? selected : -1);
    status_->Refresh();
    SelectionChanged();
}

void CMainFrameDlg::SelectionChanged() {
    if (model_->Page() != kPageConfiguration) return;
    const int selected = model_->SelectedButton();
    const bool hasButton = selected < 8;
    for (int i = 0; i < 8; ++i) markers_[static_cast<std::size_t>(i)]->SetCheck(i == selected);
    // A transfer or a box in progress: the whole page waits.
    const bool busy = model_->Busy();
    for (QWidget* w : configControls_) w->setEnabled(!busy);
    if (busy) return;
    for (int p = 0; p < 5; ++p) profiles_[static_cast<std::size_t>(p)]->setEnabled(p < model_->ProfileCount());
    for (int id : {IDC_FUNCTION, IDC_MACRO, IDC_LAUNCH})
        if (QWidget* w = FindControl(this, id)) w->setEnabled(hasButton);
    if (QWidget* w = FindControl(this, IDC_RESTORE_BUTTON)) w->setEnabled(hasButton && !model_->SelectedIsFactory());
    // The active mode is drawn chosen; pressing it again changes nothing.
    SetSelectedLook(FindControl(this, IDC_LED_NORMAL), !model_->BattleMode());
    SetSelectedLook(FindControl(this, IDC_LED_BATTLE), model_->BattleMode());
    const bool pending = model_->ChangesPending();
    for (int id : {IDC_APPLY, IDC_OK})
        if (QWidget* w = FindControl(this, id)) w->setEnabled(pending);
}

void CMainFrameDlg::paintEvent(QPaintEvent*) {
    if (face_.isNull()) return;
    QPainter p(this);
    p.drawImage(0, 0, face_);
}

void CMainFrameDlg::showEvent(QShowEvent* e) {
    // Started hidden: whenever the window would appear, it hides again until shown.
    if (hidden_) QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
    QWidget::showEvent(e);
}

// ---- dragging ----------------------------------------------------------------

void CMainFrameDlg::mousePressEvent(QMouseEvent* e) {
    const bool band = model_->Page() != kPageConfiguration || e->position().y() < kDragBand;
    skin_.Press(e, band);
}

void CMainFrameDlg::mouseMoveEvent(QMouseEvent* e) {
    skin_.Move(e);
}

void CMainFrameDlg::mouseReleaseEvent(QMouseEvent*) { skin_.Release(); }

// ---- view ------------------------------------------------------------------------

int CMainFrameDlg::RunPrompt(PromptRequest& request) {
    if (promptHook) return promptHook(request);
    CSkinDlg& box = *prompt_;
    box.mode = request.mode;
    box.text = QString::fromStdString(request.text);
    box.path = QString::fromStdString(request.path);
    box.repeatOption = request.repeatOption;
    box.value = request.value;
    const int result = box.exec();
    if (result == CSkinDlg::kResultOk) {
        request.text = box.text.toStdString();
        request.repeatOption = box.repeatOption;
        request.value = box.value;
    }
    return result == CSkinDlg::kResultOk ? prompt::kResultOk : prompt::kResultCancel;
}

void CMainFrameDlg::ShowMessage(int index, const std::string& suffix) {
    if (messageHook) {
        messageHook(index, suffix);
        return;
    }
    texts::ShowMessage(index, QString::fromStdString(suffix), this);
}

void CMainFrameDlg::ShowNotice(const std::string& text) {
    if (messageHook) {
        messageHook(-1, text);
        return;
    }
    texts::ShowMessageText(QString::fromStdString(text), prompt_.get(), this);
}

int CMainFrameDlg::RunDeviceSelection(CMainFrameModel& model, const std::vector<std::string>& lines) {
    if (selectionHook) return selectionHook(model, lines);
    CDeviceSelectDlg dialog(lines, [&model](int index) { model.SelectionPicked(index); }, this);
    return dialog.Run();
}

std::optional<int> CMainFrameDlg::RunConfigDialog(int id, int& profile) {
    if (configDialogHook) return configDialogHook(id, profile);
    return std::nullopt;
}

std::optional<std::string> CMainFrameDlg::ChooseApplication(const std::string& startFolder) {
    if (applicationHook) return applicationHook(startFolder);
    const QString folder = QString::fromStdString(startFolder);
    const QString entries = QString::fromStdString(texts::Extra(texts::EXTRA_APPLICATION_FILES)) +
                            QStringLiteral(" (*.desktop)");
    const QString everything = QString::fromStdString(texts::Extra(texts::EXTRA_ALL_FILES)) + QStringLiteral(" (*)");
    // Desktop entries where the desktop keeps them, programs anywhere else. No caption
    // of our own: the dialog's own "Open" follows Qt's translations.
    QString filter = folder.endsWith(QStringLiteral("/applications")) ? entries : everything;
    const QString path =
        QFileDialog::getOpenFileName(this, QString(), folder, entries + QStringLiteral(";;") + everything, &filter);
    if (path.isEmpty()) return std::nullopt;
    return QFileInfo(path).absoluteFilePath().toStdString();
}

std::string CMainFrameDlg::OpenWithDesktop(const std::string& target) {
    if (openHook) return openHook(target);
    const QString text = QString::fromStdString(target);
    const bool address = text.contains(QStringLiteral("://"));
    if (!address) {
        // The desktop hands a document to xdg-open and reports success even when
        // nothing there can show it.
        if (std::string problem = DesktopOpenProblem(target); !problem.empty()) return problem;
    }
    if (QDesktopServices::openUrl(address ? QUrl(text) : QUrl::fromLocalFile(text))) return {};
    return "the desktop could not open it";
}

void CMainFrameDlg::ShowBusy(bool show, int caption) {
    if (show) progress_->Start(caption);
    else progress_->Stop();
}

void CMainFrameDlg::HideWindow() { hide(); }

void CMainFrameDlg::RestoreWindow() {
    hidden_ = false;
    if (model_->Page() == kPageNone) {  // the load shows the window when it ends
        showAfterLoad_ = true;
        return;
    }
    showNormal();
    raise();
    activateWindow();
}

void CMainFrameDlg::CloseProgram() {
    closed_ = true;
    hide();
    if (loop_) loop_->quit();
}

void CMainFrameDlg::CloseDialogs() {
    if (prompt_->isVisible()) prompt_->reject();
    if (closeDialogsHook) closeDialogsHook();
}

void CMainFrameDlg::closeEvent(QCloseEvent* e) {
    e->ignore();
    model_->Command(ID_APP_EXIT);
}

}  // namespace pallix::app
