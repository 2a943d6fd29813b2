#pragma once
// One QApplication for the whole test program (widgets need it, tests share it).
#include <QApplication>

inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "skin_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
