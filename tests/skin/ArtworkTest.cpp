#include <gtest/gtest.h>

#include <set>

#include "QtApp.h"
#include "resources/Artwork.h"

namespace {

using pallix::OsdArtwork;
using pallix::ProgramArtwork;

struct Sized {
    int id;
    int w, h;
};

// Sizes the windows depend on.
TEST(Artwork, ProgramPicturesHaveTheirSizes) {
    TestApp();
    std::vector<Sized> fixed = {{417, 114, 33}, {145, 114, 33}, {282, 17, 1},  {283, 17, 25},
                                {274, 1, 18},   {275, 4, 18},   {276, 4, 18},  {186, 284, 32},
                                {180, 71, 32},  {181, 71, 32}};
    for (int id = 405; id <= 416; ++id) fixed.push_back({id, 172, 172});
    for (int id = 418; id <= 422; ++id) fixed.push_back({id, 4 * 187, 66});
    for (int id = 900; id <= 913; ++id) fixed.push_back({id, 24, 16});
    for (const Sized& s : fixed) {
        const QImage img = ProgramArtwork().Image(s.id);
        ASSERT_FALSE(img.isNull()) << s.id;
        EXPECT_EQ(img.size(), QSize(s.w, s.h)) << s.id;
    }
}

TEST(Artwork, EveryNamedProgramPictureExists) {
    TestApp();
    std::set<int> ids = {121, 122, 123, 124, 165, 166, 167, 168, 288, 169, 170, 171, 172, 289,
                         338, 337, 336, 126, 127, 258, 256, 257, 263, 261, 262, 350, 351, 357, 358,
                         359, 360, 112, 265, 266, 113, 356, 274, 275, 276, 282, 283, 125, 248, 251,
                         287, 353, 447, 448, 469, 470, 474, 247, 471, 268, 269, 270, 271, 272, 273,
                         472, 473, 342, 340, 339, 344, 467, 468, 186, 180, 181, 177, 178, 179, 348,
                         349, 173, 174, 175, 176, 346, 347, 343, 449, 450, 451, 452, 232, 233, 334,
                         335, 195, 222, 231, 204, 213, 512, 800, 417, 145, 418, 419, 420, 421, 422,
                         423, 424, 425, 426};
    for (int id = 405; id <= 416; ++id) ids.insert(id);
    for (int base : {187, 513, 290, 553, 214, 537, 314, 577, 223, 545, 322, 585, 196, 521, 298, 561,
                     205, 529, 306, 569})
        for (int c = 0; c < 8; ++c) ids.insert(base + c);
    for (int i = 0; i < 7; ++i) ids.insert({505 + i, 491 + i, 498 + i});
    for (int id = 900; id <= 913; ++id) ids.insert(id);
    for (int id : ids) EXPECT_TRUE(ProgramArtwork().Has(id)) << id;
    // The index lists exactly the stored pictures.
    const auto entries = ProgramArtwork().Entries();
    EXPECT_EQ(entries.size(), qsizetype(ids.size()));
}

TEST(Artwork, DisplayPicturesHaveTheirSizesAndCutOutColour) {
    TestApp();
    std::vector<Sized> osd;
    for (int id = 300; id <= 304; ++id) osd.push_back({id, 101, 41});
    for (int id = 305; id <= 315; ++id) osd.push_back({id, 34, 31});
    for (int id = 316; id <= 319; ++id) osd.push_back({id, 238, 74});
    osd.insert(osd.end(), {{320, 87, 57}, {321, 88, 57}, {322, 237, 56}, {323, 211, 56},
                           {324, 136, 37}, {325, 189, 36}});
    for (int id = 326; id <= 329; ++id) osd.push_back({id, 189, 99});
    for (const Sized& s : osd) {
        const QImage img = OsdArtwork().Image(s.id);
        ASSERT_FALSE(img.isNull()) << s.id;
        EXPECT_EQ(img.size(), QSize(s.w, s.h)) << s.id;
        if (s.id < 305 || s.id > 315) {  // framed pictures: cut corners
            EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFFu, 0x404040u) << s.id;
        }
    }
    EXPECT_EQ(OsdArtwork().Entries().size(), qsizetype(osd.size()));
}

TEST(Artwork, KeyColoursSitWhereTheWindowsCutThem) {
    TestApp();
    // Busy frame: green outside the bars and in the centre; a bar is not green.
    const QImage frame = ProgramArtwork().Image(405);
    EXPECT_EQ(frame.pixel(0, 0) & 0xFFFFFFu, 0x00FF00u);
    EXPECT_EQ(frame.pixel(86, 86) & 0xFFFFFFu, 0x00FF00u);
    EXPECT_NE(frame.pixel(86, 10) & 0xFFFFFFu, 0x00FF00u);
    // Dialog faces: key corners, opaque middle.
    for (int id : {121, 124, 125, 248, 343, 356, 335, 470}) {
        const QImage face = ProgramArtwork().Image(id);
        EXPECT_EQ(face.pixel(0, 0) & 0xFFFFFFu, 0x004000u) << id;
        EXPECT_NE(face.pixel(face.width() / 2, face.height() / 2) & 0xFFFFFFu, 0x004000u) << id;
    }
    // Channels are cut by white, thumbs by RGB(0,64,0).
    EXPECT_EQ(ProgramArtwork().Image(186).pixel(0, 0) & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_EQ(ProgramArtwork().Image(180).pixel(0, 0) & 0xFFFFFFu, 0x004000u);
    // Unknown ids give null pictures.
    EXPECT_TRUE(ProgramArtwork().Image(1).isNull());
}

}  // namespace
