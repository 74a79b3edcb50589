// The drifting images behind the play screen and the menus.
#include "play_world.h"

using namespace play_world;

namespace {

class Floaters : public PackTest {
protected:
    void SetUp() override {
        PackTest::SetUp();
        cfg_egfxpath = folder.path() + "/GFX/FLOAT/";
        cfg_scregfxpath = folder.path() + "/GFX/MENUFLOAT/";
    }
    // Images told apart by their widths.
    void images(const std::string& sub, std::vector<int> widths) {
        char name = 'a';
        for (int w : widths) folder.write(sub + name++ + ".png", bmp(w, 4, rgb(100, 0, 0)));
    }
    static std::vector<int> widths(const std::vector<floater>& list) {
        std::vector<int> out;
        for (const floater& f : list) out.push_back(blended_width(f.sprite));
        return out;
    }
    // A seed whose first draw leaves a floater's speed alone.
    static void seed_keeping_speed() {
        int32_t seed = 1;
        while ((random_seed(seed), random(50)) == 0) ++seed;
        random_seed(seed);
    }
};

TEST_F(Floaters, EveryImageComesOncePerCopyInListingOrder) {
    images("GFX/FLOAT/", {8, 12, 16});
    const std::pair<int32_t, std::vector<int>> cases[] = {
        {1, {8, 12, 16, 8, 12, 16}}, {0, {8, 12, 16}}, {-1, {}}};
    for (const auto& [most, expected] : cases) {
        cfg_egfxmax = most;
        build_floaters();
        EXPECT_EQ(widths(floaters), expected) << most;
    }
    // Start places: anywhere on the screen for play, in its top-left 80 % for the menus.
    images("GFX/MENUFLOAT/", {4});
    cfg_egfxmax = cfg_scregfxmax = 299;
    build_floaters(), build_menu_floaters();
    float most[4] = {};
    for (const floater& f : floaters) most[0] = std::max(most[0], f.x), most[1] = std::max(most[1], f.y);
    for (const floater& f : menu_floaters) most[2] = std::max(most[2], f.x), most[3] = std::max(most[3], f.y);
    EXPECT_TRUE(most[0] > 300 && most[0] <= 320 && most[1] > 220 && most[1] <= 240) << most[0] << "," << most[1];
    EXPECT_TRUE(most[2] > 240 && most[2] <= 256 && most[3] > 180 && most[3] <= 192) << most[2] << "," << most[3];
}

// Only .png files count, whatever the image ending; broken images keep their entries.
TEST_F(Floaters, OnlyPngFilesCountAndBrokenImagesKeepTheirEntries) {
    images("GFX/MENUFLOAT/", {8});
    folder.write("GFX/MENUFLOAT/other.bmp", bmp(20, 4, rgb(1, 2, 3)));
    folder.write("GFX/MENUFLOAT/folder.png/inside.png", bmp(20, 4, rgb(1, 2, 3)));
    folder.write("GFX/MENUFLOAT/z_broken.png", "not an image");
    folder.write("GFX/FLOAT/broken.png", "not an image");
    cfg_gfxcodec = ".bmp";
    cfg_egfxmax = cfg_scregfxmax = 0;
    build_floaters();
    build_menu_floaters();
    EXPECT_EQ(floaters.size(), 1u);
    EXPECT_EQ(widths(menu_floaters), (std::vector<int>{8, 0}));
}

TEST_F(Floaters, ADrifterTurnsBeforeItWouldLeaveTheScreen) {
    images("GFX/MENUFLOAT/", {4});
    cfg_scregfxmax = 0;
    build_menu_floaters();
    floater drifter = menu_floaters[0];
    const struct { float x, dx, expected_x, expected_dx; } cases[] = {
        {0.5f, -3, 3.5f, 3}, {3, -2.5f, 5.5f, 2.5f}, {float(width) - 2, 5, float(width) - 7, -5},
        {100, 4, 104, 4}};
    for (const auto& c : cases) {
        // The play screen's and the menu's drifters turn alike.
        for (std::vector<floater>* list : {&floaters, &menu_floaters}) {
            list->assign(1, drifter);
            floater& f = (*list)[0];
            f.x = c.x, f.dx = c.dx, f.y = 50, f.dy = -2;
            seed_keeping_speed();
            list == &floaters ? draw_floaters(1) : draw_menu_floaters(1);
            EXPECT_EQ(std::tuple(f.x, f.dx, f.y), std::tuple(c.expected_x, c.expected_dx, 48.0f)) << c.x;
        }
    }
    for (int mode : {1, 0}) {   // menu drifters add their light (mode 1) or cover what lies beneath
        menu_floaters.assign(1, drifter);
        menu_floaters[0].x = menu_floaters[0].y = 40, menu_floaters[0].dx = menu_floaters[0].dy = 0;
        seed_keeping_speed(), begin_blended_pass(), clear_screen(rgb(50, 50, 50));
        draw_menu_floaters(mode), end_blended_pass();
        EXPECT_EQ(read_pixel(41, 41), mode == 1 ? rgb(150, 50, 50) : rgb(100, 0, 0)) << mode;
    }
}

}  // namespace
