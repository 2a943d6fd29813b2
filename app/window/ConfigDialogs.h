#pragma once
// The three configuration windows the main window opens modally (performance 1009,
// macro editor 1011, lighting 1012). Each is made on first use and kept, like the
// main window's own members were.
#include <memory>
#include <optional>

class QWidget;

namespace pallix {
class PointerSettings;
class Poster;
class SettingsStore;
}  // namespace pallix

namespace pallix::app {

class CMainFrameDlg;

class CConfigDialogs {
public:
    CConfigDialogs(CMainFrameDlg& window, SettingsStore& store, PointerSettings& pointer, Poster& poster);
    ~CConfigDialogs();

    // Runs dialog `id` for `profile`; the dialog's result, and in `profile` the profile
    // it ends on. nullopt for an unknown id.
    std::optional<int> Run(int id, int& profile);
    // The mouse is gone: the dialogs that write to it close.
    void CloseForLostMouse();

private:
    struct Dialogs;
    CMainFrameDlg& window_;
    SettingsStore& store_;
    PointerSettings& pointer_;
    Poster& poster_;
    std::unique_ptr<Dialogs> dialogs_;
};

}  // namespace pallix::app
