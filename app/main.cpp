#include <QApplication>

#include "app/QX7App.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pallix"));
    QApplication::setQuitOnLastWindowClosed(false);
    pallix::app::CQX7App app;
    return app.Run(QApplication::arguments());
}
