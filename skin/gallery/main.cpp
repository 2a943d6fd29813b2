// skin-gallery: every skinned control in every state and every picture by id.
//   skin-gallery [--window] [--page N] [--save DIR]
//   --save DIR   write one PNG per page (NN-name.png) and exit
//   --window     also open a real shaped window with its drop shadow
//   --page N     start on page N
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QListWidget>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>

#include <cstdio>

#include "GalleryPages.h"

using namespace gallery;

namespace {

bool InRange(int id, int lo, int hi) { return id >= lo && id <= hi; }

bool IsLightingPart(int id) {
    return InRange(id, 187, 231) || InRange(id, 290, 329) || InRange(id, 491, 592);
}

std::vector<Page> MakePages() {
    auto face = [](int, QSize s) { return s.width() >= 250 && s.height() >= 90; };
    auto strip = [face](int id, QSize s) { return !face(id, s) && !IsLightingPart(id) && s.height() >= 18 && s.width() > 60 && id != 800; };
    return {
        {QStringLiteral("buttons"), ButtonsPage()},
        {QStringLiteral("sliders"), SlidersPage()},
        {QStringLiteral("skin-buttons"), SkinButtonsPage()},
        {QStringLiteral("list-scrollbar"), ListPage()},
        {QStringLiteral("combo"), ComboPage()},
        {QStringLiteral("shadow"), ShadowPage()},
        {QStringLiteral("busy-and-display"), CompositionPage()},
        {QStringLiteral("pictures-faces"), PicturesPage(false, face)},
        {QStringLiteral("pictures-strips"), PicturesPage(false, strip)},
        {QStringLiteral("pictures-lighting"), PicturesPage(false, [](int id, QSize) { return IsLightingPart(id); })},
        {QStringLiteral("pictures-small"), PicturesPage(false, [face, strip](int id, QSize s) {
             return !face(id, s) && !strip(id, s) && !IsLightingPart(id);
         })},
        {QStringLiteral("pictures-display"), PicturesPage(true, [](int, QSize) { return true; })},
    };
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("skin-gallery"));
    QCommandLineParser cli;
    cli.addHelpOption();
    QCommandLineOption save(QStringLiteral("save"), QStringLiteral("Write one PNG per page into DIR and exit."),
                            QStringLiteral("DIR"));
    QCommandLineOption window(QStringLiteral("window"), QStringLiteral("Open a shaped window with its shadow."));
    QCommandLineOption page(QStringLiteral("page"), QStringLiteral("Start on page N."), QStringLiteral("N"), QStringLiteral("0"));
    cli.addOptions({save, window, page});
    cli.process(app);

    const std::vector<Page> pages = MakePages();
    if (cli.isSet(save)) {
        const QString dir = cli.value(save);
        if (!QDir().mkpath(dir)) {
            std::fprintf(stderr, "skin-gallery: cannot create %s\n", qPrintable(dir));
            return 1;
        }
        int failures = 0;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            QWidget* content = pages[i].content;
            content->setAttribute(Qt::WA_DontShowOnScreen);
            content->show();
            content->adjustSize();
            QApplication::processEvents();
            const QString file = QStringLiteral("%1/%2-%3.png").arg(dir).arg(i + 1, 2, 10, QChar('0')).arg(pages[i].name);
            if (!content->grab().save(file)) ++failures;
            else std::printf("%s\n", qPrintable(file));
            content->hide();
        }
        return failures == 0 ? 0 : 1;
    }

    QSplitter main;
    auto* index = new QListWidget;
    auto* stack = new QStackedWidget;
    for (const Page& p : pages) {
        index->addItem(p.name);
        auto* scroll = new QScrollArea;
        scroll->setWidget(p.content);
        scroll->setWidgetResizable(false);
        stack->addWidget(scroll);
    }
    index->setFixedWidth(170);
    main.addWidget(index);
    main.addWidget(stack);
    QObject::connect(index, &QListWidget::currentRowChanged, stack, &QStackedWidget::setCurrentIndex);
    index->setCurrentRow(std::clamp(cli.value(page).toInt(), 0, int(pages.size()) - 1));
    main.resize(1260, 780);
    main.setWindowTitle(QStringLiteral("Skin gallery"));
    main.show();
    if (cli.isSet(window)) QTimer::singleShot(200, [] { OpenShadowedWindow(); });
    return app.exec();
}
