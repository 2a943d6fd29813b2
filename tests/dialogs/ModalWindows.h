#pragma once
// Acting on a modal window from the test while its exec() runs. No QApplication of
// its own: the test program makes that.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <functional>
#include <memory>

namespace pallix::test {

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
