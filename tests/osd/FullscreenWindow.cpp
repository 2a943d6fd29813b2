// Stands in for a game: one fullscreen window in a flat colour that asks for the
// focus, and logs to the file named by its first argument each time it gains or
// loses it ("focus in", "focus out"), so a test can tell whether anything took it.
#include <fstream>
#include <string>

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class Game : public QWidget {
public:
    explicit Game(std::string log) : log_(std::move(log)) { setWindowTitle(QStringLiteral("fullscreen-window")); }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(255, 0, 255)); }
    void focusInEvent(QFocusEvent*) override { Log("focus in"); }
    void focusOutEvent(QFocusEvent*) override { Log("focus out"); }

private:
    void Log(const char* line) const { std::ofstream(log_, std::ios::app) << line << std::endl; }
    std::string log_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Game game(argc > 1 ? argv[1] : "/dev/null");
    game.setFocusPolicy(Qt::StrongFocus);
    game.showFullScreen();
    // A window manager that has only just started may miss the first request.
    QTimer ask;
    QObject::connect(&ask, &QTimer::timeout, &game, [&] {
        if (game.isActiveWindow()) ask.stop();
        else game.activateWindow();
    });
    ask.start(200);
    game.activateWindow();
    return app.exec();
}
