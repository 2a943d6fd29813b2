#pragma once
// Shared by the dialog tests: an initialised prompt, and a way to act on the modal
// window that opens next (a nested prompt, for instance) while exec() runs.
#include <gtest/gtest.h>

#include "dialogs/SkinDlg.h"
#include "tests/dialogs/ModalWindows.h"
#include "tests/skin/QtApp.h"

namespace pallix::test {

inline void PreparePrompt(CSkinDlg& prompt, int mode) {
    if (!prompt.IsInitialised()) prompt.Initialise(QFont(), QFont());
    prompt.mode = mode;
    prompt.text.clear();
    prompt.path.clear();
    prompt.repeatOption = CSkinDlg::kRepeatNone;
    prompt.value = 0;
}

}  // namespace pallix::test
