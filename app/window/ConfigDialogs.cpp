#include "app/window/ConfigDialogs.h"

#include "app/model/MainFrameModel.h"
#include "app/texts/qt/TextFonts.h"
#include "app/window/MainFrameDlg.h"
#include "dialogs/lighting/SkinLedDlg.h"
#include "dialogs/macroeditor/SkinMacroDlg.h"
#include "dialogs/performance/SkinCfgDlg.h"

namespace pallix::app {

struct CConfigDialogs::Dialogs {
    std::unique_ptr<CSkinCfgDlg> performance;
    std::unique_ptr<CSkinMacroDlg> macroEditor;
    std::unique_ptr<CSkinLedDlg> lighting;
};

CConfigDialogs::CConfigDialogs(CMainFrameDlg& window, SettingsStore& store, PointerSettings& pointer,
                               Poster& poster)
    : window_(window), store_(store), pointer_(pointer), poster_(poster), dialogs_(std::make_unique<Dialogs>()) {}

CConfigDialogs::~CConfigDialogs() = default;

std::optional<int> CConfigDialogs::Run(int id, int& profile) {
    CMainFrameModel& model = window_.Model();
    switch (id) {
    case IDC_PERFORMANCE: {
        auto& dlg = dialogs_->performance;
        if (!dlg) {
            dlg = std::make_unique<CSkinCfgDlg>(model.Memory(), store_, pointer_, poster_, &window_);
            dlg->SetEntryFont(texts::BuildFont(4));
        }
        dlg->SetProfile(profile);
        const int result = dlg->exec();
        profile = dlg->Profile();
        return result;
    }
    case IDC_MACRO_EDITOR: {
        auto& dlg = dialogs_->macroEditor;
        if (!dlg) {
            dlg = std::make_unique<CSkinMacroDlg>(store_, model.MacroFolder(), window_.Prompt(), profile,
                                                  model.SelectedButton(), nullptr, &window_);
            dlg->SetDialogFont(texts::BuildFont(0));
        }
        dlg->SetProfile(profile);
        dlg->SetButton(model.SelectedButton());
        const int result = dlg->exec();
        profile = dlg->Profile();
        return result;
    }
    case IDC_LIGHTING: {
        auto& dlg = dialogs_->lighting;
        if (!dlg) dlg = std::make_unique<CSkinLedDlg>(model.Memory(), store_, &window_);
        dlg->SetProfile(profile);
        const int result = dlg->exec();
        profile = dlg->Profile();
        return result;
    }
    default:
        return std::nullopt;
    }
}

void CConfigDialogs::CloseForLostMouse() {
    if (dialogs_->performance && dialogs_->performance->isVisible()) dialogs_->performance->CloseForLostMouse();
    if (dialogs_->lighting && dialogs_->lighting->isVisible()) dialogs_->lighting->CloseForLostMouse();
}

}  // namespace pallix::app
