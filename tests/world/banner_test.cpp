// The level banner's text: its first frame would have a zoom of 10 / 0.
#include "play_world.h"
#include "text/font_engine.h"

using namespace play_world;

namespace {

using Banner = level;

TEST_F(Banner, TheFirstFrameShowsNoTextAndTheSecondDoes) {
    // A one-letter font: "D", 16 pixels, from the floor image.
    int32_t image = 0;
    for (const tile_graphic& g : tile_graphics)
        if (g.file_name == "floor.png") image = g.sprite;
    glyph& d = glyph_table['D'];
    d.blended_sprite = create_blended(image);
    d.width = d.height = 16;
    ASSERT_EQ(blended_width(d.blended_sprite), 16);

    screen_width = 6;   // one banner frame: the text's zoom would be 10 / 0
    show_dimension_banner();
    EXPECT_EQ(blended_width(d.blended_sprite), 16) << "the letter was not drawn";

    screen_width = 11;   // two frames: the second has zoom 10 / 0.025
    show_dimension_banner();
    EXPECT_EQ(blended_width(d.blended_sprite), 16 * 400);
    glyph_table['D'] = glyph{};
}

}  // namespace
