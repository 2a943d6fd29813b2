// pallix-artgen: draws every picture of the program and of the display library.
//   pallix-artgen OUTDIR       PNGs, index.tsv and one .qrc per set under OUTDIR
//   pallix-artgen --inventory  the inventory table (Markdown) on stdout
//   pallix-artgen --app-icons OUTDIR NAME   OUTDIR/<N>x<N>/apps/NAME.png for the icon theme
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <set>

#include "Program.h"

using namespace artgen;

namespace {

std::vector<Picture> AllPictures() {
    std::vector<Picture> all;
    AddDialogPictures(all);
    AddButtonPictures(all);
    AddLightingPictures(all);
    AddSmallPictures(all);
    AddOsdPictures(all);
    std::stable_sort(all.begin(), all.end(), [](const Picture& a, const Picture& b) {
        return a.set != b.set ? a.set < b.set : a.id < b.id;
    });
    return all;
}

const char* SetName(ArtSet s) { return s == ArtSet::Program ? "program" : "osd"; }

bool WriteIfChanged(const QString& path, const QByteArray& data) {
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.readAll() == data) return true;
    old.close();
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

bool Generate(const QString& outDir, const std::vector<Picture>& all) {
    for (ArtSet set : {ArtSet::Program, ArtSet::Osd}) {
        const QString name = QString::fromLatin1(SetName(set));
        QDir().mkpath(outDir + "/" + name);
        QByteArray qrc = "<RCC>\n  <qresource prefix=\"/pallix-art/" + name.toLatin1() + "\">\n";
        QByteArray index;
        for (const Picture& pic : all) {
            if (pic.set != set) continue;
            const QImage img = pic.draw();
            const QString file = QStringLiteral("%1/%2.png").arg(name).arg(pic.id);
            QByteArray png;
            {
                QBuffer buffer(&png);
                buffer.open(QIODevice::WriteOnly);
                img.save(&buffer, "PNG");
            }
            if (png.isEmpty() || !WriteIfChanged(outDir + "/" + file, png)) {
                std::fprintf(stderr, "pallix-artgen: cannot write %s\n", qPrintable(file));
                return false;
            }
            qrc += "    <file alias=\"" + QByteArray::number(pic.id) + ".png\">" + file.toLatin1() + "</file>\n";
            index += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                         .arg(pic.id).arg(img.width()).arg(img.height()).arg(pic.shows, pic.users)
                         .toUtf8();
        }
        const QString indexFile = name + "/index.tsv";
        qrc += "    <file alias=\"index.tsv\">" + indexFile.toLatin1() + "</file>\n  </qresource>\n</RCC>\n";
        if (!WriteIfChanged(outDir + "/" + indexFile, index) ||
            !WriteIfChanged(outDir + "/" + name + ".qrc", qrc))
            return false;
    }
    return true;
}

void Inventory(const std::vector<Picture>& all) {
    QTextStream out(stdout);
    for (ArtSet set : {ArtSet::Program, ArtSet::Osd}) {
        out << (set == ArtSet::Program ? "\n## Program pictures (`Pallix`)\n\n" : "\n## Display library pictures (`libQx7Osd.so`)\n\n");
        out << "| id | size | shows | used by |\n|---|---|---|---|\n";
        for (const Picture& pic : all) {
            if (pic.set != set) continue;
            const QImage img = pic.draw();
            out << "| " << pic.id << " | " << img.width() << " x " << img.height() << " | " << pic.shows
                << " | " << pic.users << " |\n";
        }
    }
}

// The sizes desktops ask a hicolor theme for.
constexpr int kThemeIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool WriteThemeIcons(const QString& outDir, const QString& name) {
    for (int size : kThemeIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!QDir().mkpath(folder) || !ApplicationIcon(size).save(&buffer, "PNG") ||
            !WriteIfChanged(folder + "/" + name + ".png", png)) {
            std::fprintf(stderr, "pallix-artgen: cannot write the %dx%d icon\n", size, size);
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    LoadFonts();
    const QStringList args = app.arguments();
    const std::vector<Picture> all = AllPictures();
    for (std::size_t i = 1; i < all.size(); ++i)
        if (all[i].set == all[i - 1].set && all[i].id == all[i - 1].id) {
            std::fprintf(stderr, "pallix-artgen: picture %d defined twice\n", all[i].id);
            return 1;
        }
    if (args.size() == 2 && args[1] == QLatin1String("--inventory")) {
        Inventory(all);
        return 0;
    }
    if (args.size() == 4 && args[1] == QLatin1String("--app-icons"))
        return args[3].isEmpty() || args[3].contains(QLatin1Char('/')) ? 2 : (WriteThemeIcons(args[2], args[3]) ? 0 : 1);
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: pallix-artgen OUTDIR | --inventory | --app-icons OUTDIR NAME\n");
        return 2;
    }
    return Generate(args[1], all) ? 0 : 1;
}
