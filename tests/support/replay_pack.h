// Whole games played back by `zorbel --replay` and the "# expect: " line each script carries.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>

#include "support/test_support.h"
#include "support/world_pack.h"

namespace replay_pack {

// Level 1 of the small world pack, a 16 x 12 level base, and `extra` configuration pairs.
inline void write_replay_pack(const temp_folder& folder, const std::string& extra = "") {
    using namespace world_pack;
    write_level_pack(folder);
    write_painted_kinds(folder);
    // Dug floor inherits the wall's collision unless its definition clears it.
    for (std::string kind : {"LAB_FLOOR", "LAB_GREEN"})
        folder.write("DATA/TILES/T/" + kind, folder.read("DATA/TILES/T/" + kind) + pairs({{"USECOLLISION", "0"}}));
    // Few bombs, so a walk keeps what it painted.
    folder.write("GFX/OBJECTS/bomb.dll", folder.read("GFX/OBJECTS/bomb.dll") + pairs({{"DDENSITY", "300"}}));
    folder.write("DATA/level.base", level_base_16_12);
    folder.write("DATA/ini.txt",
                 pairs({{"RESBASEW", "320"}, {"RESBASEH", "240"}, {"RESOLUTION", "16"}, {"MAPSIZE", "40"},
                        {"WORLDRANDOM", "11"}, {"WORLDREFRESH", "300"}, {"CURSORSPEED", "251"},
                        {"USESELFCREATEBASE", "1"}, {"SELFCREATEBASE", "DATA\\level.base"},
                        {"RGBCODEPATH", "DATA\\TILES\\"}, {"APPSTART", "T"}, {"TOPOGFX", "GFX\\TILES\\"},
                        {"GFXCODEC", ".png"}, {"WORLDGFX", "GFX\\OBJECTS\\"}, {"CURSOR", "GFX\\cursor.png"},
                        {"USESPRITE3D", "1"}, {"LABSWITCH", "3"}, {"MAXFOE", "2"}}) + extra);
}

struct replay_run {
    int exit_code = -1;
    std::string line;   // the summary line, or all the program said when it printed none
    std::string out;    // all the program said
};

// The script file `script` played back in folder `pack`.
inline replay_run run_replay(const std::string& script, const std::string& pack, const std::string& extra_flags = "") {
    command_result run = run_command(std::string(ZORBEL_BINARY) + " --replay '" + script + "'" + extra_flags, pack);
    std::smatch line;
    std::regex shape("replay frames=\\d+ dimension=-?\\d+ score=-?\\d+ critical_mass=-?\\d+ "
                     "time_left=-?\\d+ matrix=[0-9a-f]{8}");
    return {run.exit_code, std::regex_search(run.out, line, shape) ? line.str() : "no summary in: " + run.out,
            run.out};
}

// The summary a script expects, or (when updating) the one it now prints.
inline std::string expected_line(const std::string& path, const std::string& line) {
    const std::string mark = "# expect: ";
    std::string text = file_text(path);
    size_t at = text.find(mark);
    if (std::getenv("ZORBEL_UPDATE_GOLDEN")) {
        if (at != std::string::npos) text.erase(at, text.find('\n', at) + 1 - at);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << mark << line << "\n" << text;
        return line;
    }
    if (at == std::string::npos) return "no expected line in " + path;
    return text.substr(at + mark.size(), text.find('\n', at) - at - mark.size());
}

// A recorded script played back: it ends well and prints the line it expects.
inline replay_run expect_recorded_line(const std::string& script, const std::string& pack) {
    replay_run run = run_replay(script, pack);
    EXPECT_EQ(run.exit_code, 0) << script << ": " << run.line;
    EXPECT_EQ(run.line, expected_line(script, run.line)) << script;
    return run;
}

}  // namespace replay_pack
