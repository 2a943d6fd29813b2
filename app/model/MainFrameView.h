#pragma once
// What the main window's logic asks of its window: modal boxes, messages, the
// device-selection dialog, the file chooser, pages and the busy indicator. The
// window implements it with real widgets; tests script it.
#include <optional>
#include <string>
#include <vector>

#include "common/PromptContract.h"

namespace pallix::app {

class CMainFrameModel;

// The fields of the modal box (mode: one of prompt::k*).
struct PromptRequest {
    int mode = 0;
    std::string text;
    std::string path;
    int repeatOption = -1;
    int value = 0;
};

class MainFrameView {
public:
    virtual ~MainFrameView() = default;

    // Runs the modal box; prompt::kResultOk or kResultCancel. The request's out fields are updated.
    virtual int RunPrompt(PromptRequest& request) = 0;
    // Message `index` of the message table, with a suffix (an address, a file name).
    virtual void ShowMessage(int index, const std::string& suffix) = 0;
    // A plain text of ours that is in no table.
    virtual void ShowNotice(const std::string& text) = 0;

    // The device-selection dialog over the model's device table: the dialog calls
    // SelectionPicked while the user moves; returns the chosen line or -1.
    virtual int RunDeviceSelection(CMainFrameModel& model, const std::vector<std::string>& lines) = 0;
    // Runs configuration dialog 1009, 1011 or 1012 modally for `profile`; the dialog
    // may leave another profile there. nullopt when this build has no such dialog.
    virtual std::optional<int> RunConfigDialog(int id, int& profile) = 0;
    // The application file chooser; nullopt on Cancel.
    virtual std::optional<std::string> ChooseApplication(const std::string& startFolder) = 0;
    // Opens an address or a document with the desktop; empty when that worked,
    // otherwise what is missing for it (a phrase, e.g. "xdg-open is missing").
    virtual std::string OpenWithDesktop(const std::string& target) = 0;

    // The page changed (-1 loading: out of sight, 0 no mouse, 3 configuration).
    virtual void PageChanged(int page) = 0;
    // Profile, button names, selection, LED switch or enabled state changed.
    virtual void StateChanged() = 0;
    // Only the selected button and what its commands may do changed: no picture is
    // redrawn (the key-status panel itself reported the button).
    virtual void SelectionChanged() = 0;
    virtual void ShowBusy(bool show, int caption) = 0;  // busy::kCaption*
    virtual void HideWindow() = 0;
    virtual void RestoreWindow() = 0;
    // Ends the program (the modal loop).
    virtual void CloseProgram() = 0;
    // Closes the open configuration dialogs and the modal box (the mouse was lost).
    virtual void CloseDialogs() = 0;
};

}  // namespace pallix::app
