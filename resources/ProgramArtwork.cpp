#include "resources/Artwork.h"

// The resources live in this static library: register them on first use, so the
// linker keeps them and nobody has to remember Q_INIT_RESOURCE.
static void InitProgramArt() { Q_INIT_RESOURCE(pallix_program_art); }

namespace pallix {
const ArtworkSet& ProgramArtwork() {
    static const ArtworkSet set = (InitProgramArt(), ArtworkSet(QStringLiteral(":/pallix-art/program/")));
    return set;
}
}  // namespace pallix
