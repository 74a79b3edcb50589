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
