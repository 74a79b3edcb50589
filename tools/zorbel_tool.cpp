// Developer tool: small commands that drive the game's own code.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "content/check_data.h"
#include "content/content.h"
#include "core/machine.h"
#include "game/world_tables.h"
#include "world/level_state.h"

#include "core/configuration.h"
#include "frontend/menus.h"
#include "game/startup.h"
#include "media/media.h"
#include "media/random.h"
#include "text/text_engine.h"
#include "world/level_dump.h"
#include "world/overlay.h"
#include "world/world.h"

#include "simple_player.h"

namespace {

int usage() {
    std::fputs(
        "usage: zorbel-tool COMMAND ...\n"
        "  rng SEED COUNT MAX   seed the generator once, print COUNT draws of random(MAX)\n"
        "  text DIR TEXT OUT.png [ZOOM [RRGGBB]]\n"
        "                       draw TEXT with the font of the pack in DIR (its base folder)\n"
        "                       on a design-sized screen and save it as PNG\n"
        "  frame DIR N OUT.png [DIMENSION]\n"
        "                       start the game headless in DIR (no credits, no menu) on\n"
        "                       that level (1), run N frames and save the last one as PNG\n"
        "  level DIR DIMENSION  build that level of the pack in DIR and print it as text\n"
        "  screen DIR N OUT.png [SCRIPT]\n"
        "                       run the game headless in DIR from its start (credits, menus),\n"
        "                       with an input script if given, and save frame N as PNG when\n"
        "                       a front-end screen shows it\n"
        "  check-data DIR       read the pack in DIR as the game would and list, with file\n"
        "                       and line, what would silently not work (docs/check_data.md);\n"
        "                       exit 0 when it has no errors, 1 when it has\n"
        "  play DIR [FIRST [LAST]] [idle]\n"
        "                       the simple player plays dimensions FIRST..LAST (1..8) of\n"
        "                       the pack in DIR, each from the title menu, and says per\n"
        "                       dimension whether it won and with how much clock left;\n"
        "                       idle: a player who presses nothing (docs/tools.md)\n"
        "  pack-table DIR OUT.md\n"
        "                       plays dimensions 1..8 and writes their table (docs/pack.md)\n",
        stderr);
    return 2;
}

bool parse_int(const char* text, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0';
}

int command_rng(int argc, char** argv) {
    long long seed, count, max;
    if (argc != 5 || !parse_int(argv[2], seed) || !parse_int(argv[3], count) ||
        !parse_int(argv[4], max))
        return usage();
    random_seed(int32_t(seed));
    for (long long i = 0; i < count; ++i) std::printf("%d\n", random(int32_t(max)));
    return 0;
}

// The game's texts are Latin-1; a UTF-8 argument from a terminal is converted
// when all its characters fit, anything else is taken as raw bytes.
std::string latin1_argument(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = text[i];
        if (c < 0x80) {
            out += char(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size() &&
                   (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            out += char(((c & 0x03) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F));
            ++i;
        } else {
            return text;
        }
    }
    return out;
}

// Draws one text the way the game does, to look at the font.
int command_text(int argc, char** argv) {
    if (argc < 5 || argc > 7) return usage();
    float zoom = argc > 5 ? std::strtof(argv[5], nullptr) : 1.0f;
    unsigned long ground = argc > 6 ? std::strtoul(argv[6], nullptr, 16) : 0x141828;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    init_globals();
    std::string dir = argv[2];
    if (dir.empty() || (dir.back() != '/' && dir.back() != '\\')) dir += "\\";
    base_folder = dir;
    ini_path = base_folder + "DATA\\ini.txt";
    read_configuration(ini_path);
    register_decoders();
    if (base_width < 1 || base_height < 1) {
        std::fprintf(stderr, "zorbel-tool: %s gives no design size\n", ini_path.c_str());
        return 1;
    }
    screen_width = float(base_width);
    screen_height = float(base_height);
    screen_scale = 1.0f;
    int window = open_window(base_width, base_height, "zorbel-tool");
    if (!window || !open_screen(window, base_width, base_height)) {
        std::fprintf(stderr, "zorbel-tool: no screen\n");
        return 1;
    }
    load_system_font();
    // RRGGBB as written; the screen packs colours as r + 256 g + 65536 b.
    clear_screen(uint32_t(((ground >> 16) & 255) | (ground & 0xFF00) | ((ground & 255) << 16)));
    begin_blended_pass();
    draw_text(latin1_argument(argv[3]), 16, 16, zoom, 0, 255, 1, 0, 0);
    end_blended_pass();
    bool saved = save_screen_png(argv[4]);
    shutdown_media();
    return saved ? 0 : 1;
}

// The start-up of the game up to its first level, without the credits and
// the title menu, which wait for a player.
bool start_game_in(const std::string& dir) {
    if (chdir(dir.c_str()) != 0) {
        std::fprintf(stderr, "zorbel-tool: cannot enter %s\n", dir.c_str());
        return false;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    set_virtual_clock(true);
    set_fake_desktop(4096, 4096);
    init_globals();
    read_configuration(ini_path);
    register_decoders();
    measure_screen();
    open_game_window();
    create_world_tables();
    build_tile_graphics();
    clear_object_lists();
    load_object_definitions();
    load_sound_effects();
    load_music_list();
    build_floaters();
    build_menu_floaters();
    load_system_font();
    if (cfg_usetopglass == 1) load_top_glass(cfg_topscreen);
    if (cfg_useselfcreatebase == 1) {
        load_level_base(cfg_selfcreatebase);
        build_next_level();
    } else {
        set_up_prepared_world();
    }
    return true;
}

int command_frame(int argc, char** argv) {
    long long frames, level = 1;
    if ((argc != 5 && argc != 6) || !parse_int(argv[3], frames) || frames < 0) return usage();
    if (argc == 6 && (!parse_int(argv[5], level) || level < 1)) return usage();
    std::string out = argv[4];
    if (!out.empty() && out[0] != '/') out = current_directory() + "/" + out;
    if (!start_game_in(argv[2])) return 1;
    dimension = int32_t(level);   // the main loop builds it when it is not level 1
    for (long long i = 0; i < frames; ++i) main_loop_pass();
    bool saved = save_screen_png(out);
    shutdown_media();
    return saved ? 0 : 1;
}

int command_level(int argc, char** argv) {
    long long level;
    if (argc != 4 || !parse_int(argv[3], level)) return usage();
    if (!start_game_in(argv[2])) return 1;
    dimension = int32_t(level);
    player.x = player.y = -1.0f;   // still negative afterwards: nothing was dug
    build_next_level();
    std::fputs(dump_level().c_str(), stdout);
    shutdown_media();
    return 0;
}

long long screen_target = 0;
std::string screen_out;

void save_screen_at_target() {
    if (frame_number() < screen_target) return;
    const bool saved = save_screen_png(screen_out);
    std::fprintf(saved ? stdout : stderr, saved ? "saved frame %d\n" : "cannot save frame %d\n",
                 frame_number());
    end_program();
}

// The real program, watched at the end of every front-end frame.
int command_screen(int argc, char** argv) {
    long long frames;
    if ((argc != 5 && argc != 6) || !parse_int(argv[3], frames) || frames < 1) return usage();
    screen_out = argv[4];
    if (!screen_out.empty() && screen_out[0] != '/')
        screen_out = current_directory() + "/" + screen_out;
    std::string script = argc == 6 ? argv[5] : "";
    if (!script.empty() && script[0] != '/') script = current_directory() + "/" + script;
    if (chdir(argv[2]) != 0) {
        std::fprintf(stderr, "zorbel-tool: cannot enter %s\n", argv[2]);
        return 1;
    }
    screen_target = frames;
    screen_frame_seen = save_screen_at_target;
    std::string limit = std::to_string(frames + 1);
    std::vector<std::string> args = {"zorbel", "--headless", "--desktop", "4096x4096"};
    if (script.empty()) {
        args.insert(args.end(), {"--frames", limit});
    } else {
        args.insert(args.end(), {"--replay", script});
    }
    std::vector<char*> pointers;
    for (std::string& arg : args) pointers.push_back(arg.data());
    return zorbel_main(int(pointers.size()), pointers.data());
}

int command_check_data(int argc, char** argv) {
    if (argc != 3) return usage();
    if (file_size(argv[2]) != -2) {
        std::fprintf(stderr, "zorbel-tool: %s is not a folder\n", argv[2]);
        return 2;
    }
    int errors = 0, warnings = 0;
    for (const data_finding& finding : check_data(argv[2])) {
        std::puts(format_finding(finding).c_str());
        ++(finding.error ? errors : warnings);
    }
    std::printf("check-data: %d error%s, %d warning%s\n", errors, errors == 1 ? "" : "s",
                warnings, warnings == 1 ? "" : "s");
    return errors > 0 ? 1 : 0;
}

int command_play(int argc, char** argv) {
    bool idle = argc > 3 && std::string(argv[argc - 1]) == "idle";
    const int numbers = argc - 3 - (idle ? 1 : 0);
    long long first = 1, last = 8;
    if (argc < 3 || numbers > 2) return usage();
    if (numbers >= 1 && !parse_int(argv[3], first)) return usage();
    last = numbers == 1 ? first : last;
    if (numbers == 2 && !parse_int(argv[4], last)) return usage();
    if (first < 1 || last < first) return usage();
    for (const dimension_result& result : play_dimensions(argv[2], int(first), int(last), idle))
        std::printf("%s\n", describe_result(result).c_str());
    return 0;
}

int command_pack_table(int argc, char** argv) {
    if (argc != 4) return usage();
    const std::string table = pack_table(play_dimensions(argv[2], 1, 8, false));
    FILE* out = std::fopen(argv[3], "wb");
    if (!out || std::fputs(table.c_str(), out) < 0 || std::fclose(out) != 0) {
        std::fprintf(stderr, "zorbel-tool: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    std::string command = argv[1];
    if (command == "rng") return command_rng(argc, argv);
    if (command == "text") return command_text(argc, argv);
    if (command == "frame") return command_frame(argc, argv);
    if (command == "level") return command_level(argc, argv);
    if (command == "screen") return command_screen(argc, argv);
    if (command == "check-data") return command_check_data(argc, argv);
    if (command == "play") return command_play(argc, argv);
    if (command == "pack-table") return command_pack_table(argc, argv);
    return usage();
}
