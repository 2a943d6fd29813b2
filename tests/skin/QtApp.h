#pragma once
// One QApplication for the whole test program, made before any test (and any fixture
// that holds widgets) runs.
#include <gtest/gtest.h>

#include <QApplication>

inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "skin_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

class QtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override { TestApp(); }
};

inline const bool kQtAppRegistered = (::testing::AddGlobalTestEnvironment(new QtAppEnvironment), true);
