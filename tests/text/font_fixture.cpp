#include "font_fixture.h"

#include <cstdlib>
#include <filesystem>

namespace font_test {

bool close_to(uint32_t got, uint32_t want) {
    for (int shift = 0; shift < 24; shift += 8) {
        int a = int((got >> shift) & 255), b = int((want >> shift) & 255);
        if (std::abs(a - b) > 6) return false;
    }
    return true;
}

void font_fixture::open(int screen_w, int screen_h) {
    close_headless_screen();
    init_globals();
    base_width = 1024;
    base_height = 768;
    screen_width = float(screen_w);
    screen_height = float(screen_h);
    screen_scale = screen_width / float(base_width);
    open_headless_screen(screen_w, screen_h);
    set_filtering(false);
    cfg_fontpath = folder.path() + "\\FONT";
    cfg_fontsystem = folder.path() + "\\font.txt";
}

void font_fixture::TearDown() {
    free_font();
    close_headless_screen();
}

void font_fixture::image_file(const std::string& name, int width, int height, uint32_t colour) {
    const std::filesystem::path file = folder.path() + "/" + name;
    std::filesystem::create_directories(file.parent_path());
    begin_draw();
    draw_box(0, 0, width, height, colour);
    end_draw();
    int grabbed = grab_sprite(0, 0, width, height);
    save_sprite_bmp(grabbed, file.string());
    free_sprite(grabbed);
}

void font_fixture::glyph_file(const std::string& stem, int width, int height, uint32_t colour) {
    image_file("FONT/" + stem + ".png", width, height, colour);
}

void font_fixture::definition(const std::string& line) {
    folder.write("font.txt", line + "\r\n");
}

}  // namespace font_test
