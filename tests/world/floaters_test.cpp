// The drifting images behind the play screen and the menus.
#include <algorithm>
#include <cmath>

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
        {2, {8, 12, 16, 8, 12, 16, 8, 12, 16}}, {0, {8, 12, 16}}, {-1, {}}, {-20, {}}};
    for (const auto& [most, expected] : cases) {
        cfg_egfxmax = most;
        build_floaters();
        EXPECT_EQ(widths(floaters), expected) << most;
    }
    // Each copy has a sprite of its own.
    cfg_egfxmax = 1;
    build_floaters();
    EXPECT_NE(floaters[0].sprite, floaters[3].sprite);
}

// Only .png files count, whatever the image ending; broken images keep their
// entries, missing folders give none, and drawing costs no random numbers.
TEST_F(Floaters, OnlyPngFilesCountAndMissingOrBrokenImagesDriftNothing) {
    cfg_egfxmax = 3;
    build_floaters();
    EXPECT_TRUE(floaters.empty());
    images("GFX/MENUFLOAT/", {8});
    folder.write("GFX/MENUFLOAT/other.bmp", bmp(20, 4, rgb(1, 2, 3)));
    folder.write("GFX/MENUFLOAT/folder.png/inside.png", bmp(20, 4, rgb(1, 2, 3)));
    folder.write("GFX/MENUFLOAT/z_broken.png", "not an image");
    folder.write("GFX/FLOAT/broken.png", "not an image");
    cfg_gfxcodec = ".bmp";
    cfg_scregfxmax = 0;
    build_floaters();
    build_menu_floaters();
    ASSERT_EQ(floaters.size(), 4u);
    EXPECT_EQ(widths(menu_floaters), (std::vector<int>{8, 0}));
    random_seed(5);   // drawn, they cost no random numbers
    const int32_t first = random(1000);
    random_seed(5);
    menu_floaters.erase(menu_floaters.begin());
    begin_blended_pass();
    draw_floaters(1);
    draw_menu_floaters(1);
    end_blended_pass();
    EXPECT_EQ(random(1000), first);
}

TEST_F(Floaters, StartPlacesCoverTheScreenOrItsTopLeftPart) {
    screen_width = 800, screen_height = 600;
    images("GFX/FLOAT/", {4});
    images("GFX/MENUFLOAT/", {4});
    cfg_egfxmax = cfg_scregfxmax = 799;
    random_seed(11);
    build_floaters();
    build_menu_floaters();
    ASSERT_EQ(floaters.size(), 800u);
    auto highest = [](const std::vector<floater>& list, float floater::*field) {
        float most = -1;
        for (const floater& f : list) {
            EXPECT_GE(f.*field, 0.0f);
            EXPECT_EQ(f.*field, std::floor(f.*field));
            most = std::max(most, f.*field);
        }
        return most;
    };
    // The whole screen, or its top-left part for the menu's.
    const struct { const std::vector<floater>& list; float floater::*field; float above, most; } ranges[] = {
        {floaters, &floater::y, 480, 600}, {floaters, &floater::x, 640, 800},
        {menu_floaters, &floater::y, 400, 480}, {menu_floaters, &floater::x, -1, 640}};
    for (const auto& r : ranges) {
        const float most = highest(r.list, r.field);
        EXPECT_TRUE(most > r.above && most <= r.most) << most << " in (" << r.above << ", " << r.most << "]";
    }
    // Speeds of 1 to 6 pixels a frame, down and to the right.
    for (const std::vector<floater>* list : {&floaters, &menu_floaters})
        for (const floater& f : *list) {
            EXPECT_TRUE(f.dx >= 1 && f.dx <= 6 && f.dy >= 1 && f.dy <= 6) << f.dx << "," << f.dy;
        }
}

TEST_F(Floaters, ADrifterTurnsBeforeItWouldLeaveTheScreen) {
    images("GFX/MENUFLOAT/", {4});
    cfg_scregfxmax = 0;
    build_menu_floaters();
    floater drifter = menu_floaters[0];
    const struct { float x, dx, expected_x, expected_dx; } cases[] = {
        {0.5f, -3, 3.5f, 3}, {float(width) - 2, 5, float(width) - 7, -5}, {100, 4, 104, 4}};
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
}

TEST_F(Floaters, MenuDriftersAddTheirLightOrCoverWhatIsBeneath) {
    folder.write("GFX/MENUFLOAT/a.png", bmp(8, 8, rgb(100, 0, 0)));
    cfg_scregfxmax = 0;
    build_menu_floaters();
    for (int mode : {1, 0}) {
        menu_floaters[0].x = menu_floaters[0].y = 40, menu_floaters[0].dx = menu_floaters[0].dy = 0;
        seed_keeping_speed();
        begin_blended_pass();
        clear_screen(rgb(50, 50, 50));
        draw_menu_floaters(mode);
        end_blended_pass();
        EXPECT_EQ(read_pixel(44, 44), mode == 1 ? rgb(150, 50, 50) : rgb(100, 0, 0)) << mode;
    }
}

}  // namespace
