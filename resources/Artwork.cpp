#include "resources/Artwork.h"

#include <QFile>

namespace pallix {

QString ArtworkSet::Path(int id) const { return prefix_ + QString::number(id) + QStringLiteral(".png"); }

bool ArtworkSet::Has(int id) const { return QFile::exists(Path(id)); }

QImage ArtworkSet::Image(int id) const {
    QImage image;
    if (!Has(id) || !image.load(Path(id), "PNG")) return {};
    // Pictures without alpha come back as RGB32, which region building expects.
    if (!image.hasAlphaChannel() && image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

QList<ArtworkSet::Entry> ArtworkSet::Entries() const {
    QList<Entry> entries;
    QFile index(prefix_ + QStringLiteral("index.tsv"));
    if (!index.open(QIODevice::ReadOnly)) return entries;
    for (const QByteArray& line : index.readAll().split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() != 5) continue;
        entries.append({f[0].toInt(), QSize(f[1].toInt(), f[2].toInt()), QString::fromUtf8(f[3]),
                        QString::fromUtf8(f[4])});
    }
    return entries;
}

}  // namespace pallix
