#include "support/test_support.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "media/media.h"

namespace fs = std::filesystem;

temp_folder::temp_folder() {
    std::string templ = (fs::temp_directory_path() / "zorbel-test-XXXXXX").string();
    char* made = mkdtemp(templ.data());
    path_ = made ? made : "";
}

temp_folder::~temp_folder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string temp_folder::write(const std::string& name, const std::string& bytes) const {
    fs::path file = fs::path(path_) / name;
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    return file.string();
}

std::string temp_folder::read(const std::string& name) const { return file_text(path_ + "/" + name); }

std::string file_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

command_result run_command(const std::string& command, const std::string& cwd) {
    std::string full = "cd '" + cwd + "' && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy " +
                       command + " 2>&1";
    command_result result;
    FILE* pipe = popen(full.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    int status = pclose(pipe);
    if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
    return result;
}

void open_headless_screen(int width, int height) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    set_virtual_clock(true);
    start_screen_service();
    start_blended_service();
    register_decoders();
    int window = open_window(width, height, "test");
    open_screen(window, width, height);
}

void close_headless_screen() { shutdown_media(); }

std::string ini_text(std::initializer_list<std::pair<std::string, std::string>> pairs) {
    std::string text;
    for (const auto& [key, value] : pairs) text += key + "\n" + value + "\n";
    return text;
}

__attribute__((noinline, no_sanitize("undefined"))) int divide_for_real(int numerator,
                                                                        int denominator) {
    volatile int n = numerator, d = denominator;
    return n / d;
}

__attribute__((noinline, no_sanitize("undefined", "address"))) void store_through_null() {
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}

namespace {

uint32_t little_endian(const std::string& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int k = size - 1; k >= 0; --k)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(k)]);
    return value;
}

}  // namespace

// Sprites cannot be read back, but one saved as a 24-bit BMP keeps its pixels in a simple format.
picture pixels_of(const std::string& image, const temp_folder& folder) {
    picture out;
    int sprite = load_sprite(image, false);
    if (!sprite) return out;
    const std::string bmp = folder.path() + "/pixels.bmp";
    bool saved = save_sprite_bmp(sprite, bmp);
    free_sprite(sprite);
    if (!saved) return out;
    const std::string bytes = folder.read("pixels.bmp");
    if (bytes.size() < 54 || little_endian(bytes, 28, 2) != 24) return out;
    const size_t start = little_endian(bytes, 10, 4);
    const int width = static_cast<int>(little_endian(bytes, 18, 4));
    const int height = static_cast<int>(little_endian(bytes, 22, 4));   // bottom-up
    const size_t row = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    if (width <= 0 || height <= 0 || bytes.size() < start + row * static_cast<size_t>(height))
        return out;
    out.width = width;
    out.height = height;
    for (int y = 0; y < height; ++y) {
        const size_t line = start + row * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x)
            out.pixels.push_back(little_endian(bytes, line + static_cast<size_t>(x) * 3, 3));
    }
    return out;
}
