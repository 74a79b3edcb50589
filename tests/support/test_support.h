// Helpers shared by the test programs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under /tmp, removed when the object goes away.
class temp_folder {
public:
    temp_folder();
    ~temp_folder();
    temp_folder(const temp_folder&) = delete;
    temp_folder& operator=(const temp_folder&) = delete;
    const std::string& path() const { return path_; }
    // Writes bytes as given to path() + "/" + name, creating folders.
    std::string write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

private:
    std::string path_;
};

// The bytes of a file; empty when it cannot be read.
std::string file_text(const std::string& path);

// `bytes` bytes of v, least significant first, as BMP and WAV headers hold them.
inline void put_le(std::string& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char((v >> (8 * i)) & 0xFF);
}

// A 24-bit BMP of 0xBBGGRR colours, row by row from the top.
inline std::string bmp_bytes(int width, int height, const std::vector<uint32_t>& pixels) {
    const uint32_t row = uint32_t(width * 3 + 3) / 4 * 4, size = row * uint32_t(height);
    std::string out = "BM";
    for (uint32_t v : {54 + size, 0u, 54u, 40u, uint32_t(width), uint32_t(height), 1u | 24u << 16, 0u, size, 0u, 0u, 0u, 0u})
        put_le(out, v, 4);
    for (int y = height - 1; y >= 0; --y) {   // BMP rows go bottom up
        for (int x = 0; x < width; ++x) {
            const uint32_t c = pixels[size_t(y * width + x)];
            put_le(out, ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF), 3);
        }
        out.append(row - uint32_t(width) * 3, '\0');
    }
    return out;
}
inline std::string solid_bmp(int width, int height, uint32_t colour) {
    return bmp_bytes(width, height, std::vector<uint32_t>(size_t(width * height), colour));
}

struct command_result {
    int exit_code = -1;   // -1 when killed by a signal
    std::string out;      // stdout and stderr together
};
// Runs a shell command in folder `cwd` with the headless environment.
command_result run_command(const std::string& command, const std::string& cwd = ".");

// Starts the media services headless with a screen of the given size.
void open_headless_screen(int width, int height);
void close_headless_screen();

// A minimal DATA/ini.txt text for tests: key/value pairs, LF line ends.
std::string ini_text(std::initializer_list<std::pair<std::string, std::string>> pairs);

// Real faults for the fault handler, left alone by the sanitizer build (which would stop them first).
int divide_for_real(int numerator, int denominator);
void store_through_null();

// A picture as 0xRRGGBB values, row by row from the top.
struct picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};
// The pixels of an image file read through the media layer; folder holds a scratch copy.
picture pixels_of(const std::string& image, const temp_folder& folder);
