#include "resources/Artwork.h"

// The resources live in this static library: register them on first use, so the
// linker keeps them and nobody has to remember Q_INIT_RESOURCE.
static void InitOsdArt() { Q_INIT_RESOURCE(pallix_osd_art); }

namespace pallix {
const ArtworkSet& OsdArtwork() {
    static const ArtworkSet set = (InitOsdArt(), ArtworkSet(QStringLiteral(":/pallix-art/osd/")));
    return set;
}
}  // namespace pallix
