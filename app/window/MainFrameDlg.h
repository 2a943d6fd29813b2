#pragma once
// Dialog 700, the configuration program's one window: a frameless face shaped by
// its page picture, the profile page's controls, and the mailbox other programs
// post to. The logic is CMainFrameModel's; this class shows it and asks the user.
#include <array>
#include <functional>
#include <memory>

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "app/model/MainFrameModel.h"
#include "app/model/MainFrameView.h"
#include "skin/SkinnedWindow.h"

class QAbstractButton;
class QLabel;
class QEventLoop;

namespace pallix {
class QtMailbox;
class CFocusMark;
class CHoverButtonEx;
class CSkinDlg;
class COsdProgress;
class CUiKeyIndex;
class CUiKeyStatus;
}

namespace pallix::app {

class CMainFrameDlg : public QWidget, public MainFrameView {
    Q_OBJECT
public:
    static constexpr int kDragBand = 144;

    explicit CMainFrameDlg(ModelParts parts, bool automation, QWidget* parent = nullptr);
    ~CMainFrameDlg() override;

    // Publishes the handle and (unless hidden) searches; then runs until closed.
    int RunModal();
    // As RunModal without the loop: for tests that drive the window themselves.
    void Initialise();

    CMainFrameModel& Model() { return *model_; }
    CSkinDlg& Prompt() { return *prompt_; }
    COsdProgress& Progress() { return *progress_; }
    CUiKeyStatus& KeyStatus() { return *status_; }
    QtMailbox& Mailbox() { return *mailbox_; }
    bool Closed() const { return closed_; }

    // Answers of the boxes and choosers: the prompt dialog, the message display and
    // the file chooser are replaceable (the tests script them).
    std::function<int(PromptRequest&)> promptHook;
    std::function<void(int, const std::string&)> messageHook;
    std::function<std::optional<std::string>(const std::string&)> applicationHook;
    std::function<std::string(const std::string&)> openHook;  // documents and addresses
    std::function<int(CMainFrameModel&, const std::vector<std::string>&)> selectionHook;
    // The configuration dialogs 1009, 1011, 1012: none until they are built.
    std::function<std::optional<int>(int id, int& profile)> configDialogHook;
    std::function<void()> closeDialogsHook;  // the mouse was lost while one is open

    // MainFrameView
    int RunPrompt(PromptRequest& request) override;
    void ShowMessage(int index, const std::string& suffix) override;
    void ShowNotice(const std::string& text) override;
    int RunDeviceSelection(CMainFrameModel& model, const std::vector<std::string>& lines) override;
    std::optional<int> RunConfigDialog(int id, int& profile) override;
    std::optional<std::string> ChooseApplication(const std::string& startFolder) override;
    std::string OpenWithDesktop(const std::string& target) override;
    void PageChanged(int page) override;
    void StateChanged() override;
    void SelectionChanged() override;
    void ShowBusy(bool show, int caption) override;
    void HideWindow() override;
    void RestoreWindow() override;
    void CloseProgram() override;
    void CloseDialogs() override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    QAbstractButton* AddCommand(int id, const QString& text, QRect where);
    void TakeKeyboard(QWidget* control);
    void OnCommand();
    void ApplyPage();
    void OnKeyStatus(const Message& message);

    std::unique_ptr<QtMailbox> mailbox_;
    std::unique_ptr<CMainFrameModel> model_;
    QImage face_;
    std::array<CHoverButtonEx*, 5> profiles_{};
    std::array<CUiKeyIndex*, 8> markers_{};
    CUiKeyStatus* status_ = nullptr;
    std::unique_ptr<CSkinDlg> prompt_;
    std::unique_ptr<COsdProgress> progress_;
    CFocusMark* focusMark_;
    std::vector<QWidget*> configControls_;
    QAbstractButton* exitButton_ = nullptr;
    CSkinnedWindow skin_{*this};
    bool closed_ = false;
    bool hidden_ = false;
    bool showAfterLoad_ = false;  // hidden start: stays out of sight until shown
    QEventLoop* loop_ = nullptr;
};

}  // namespace pallix::app
