#pragma once
// The pictures of the program and of the display library, by resource id. They are
// drawn at build time by pallix-artgen and embedded with the Qt resource system; the
// inventory is resources/ARTWORK.md.
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

namespace pallix {

class ArtworkSet {
public:
    struct Entry {
        int id = 0;
        QSize size;
        QString shows;
        QString users;
    };

    explicit ArtworkSet(QString prefix) : prefix_(std::move(prefix)) {}

    // The picture with that id; a null image when the set has none. Pictures with a
    // key colour are opaque (Format_RGB32); icons carry alpha.
    QImage Image(int id) const;
    bool Has(int id) const;
    // Resource path, usable with QPixmap/QIcon: ":/pallix-art/<set>/<id>.png".
    QString Path(int id) const;
    // Every picture of the set, in id order, with what it shows and who uses it.
    QList<Entry> Entries() const;

private:
    QString prefix_;
};

// The program's pictures (link pallix_artwork).
const ArtworkSet& ProgramArtwork();
// The display library's pictures (link pallix_osd_artwork).
const ArtworkSet& OsdArtwork();

}  // namespace pallix
