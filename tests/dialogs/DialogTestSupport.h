#pragma once
// Shared by the dialog tests: an initialised prompt, and a way to act on the modal
// window that opens next (a nested prompt, for instance) while exec() runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <functional>

#include "dialogs/SkinDlg.h"
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

// Runs `act` on the active modal window once it is open (polling, since nested
// dialogs open inside event handlers).
inline void WhenModalOpens(std::function<void(QWidget*)> act, QWidget* notThis = nullptr) {
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, notThis, tries, poll] {
        QWidget* w = QApplication::activeModalWidget();
        if (w && w != notThis && w->isVisible()) {
            act(w);
        } else if (++*tries < 200) {
            QTimer::singleShot(10, *poll);
        } else {
            ADD_FAILURE() << "no modal window opened";
            if (w) w->close();
        }
    };
    QTimer::singleShot(10, *poll);
}

}  // namespace pallix::test
