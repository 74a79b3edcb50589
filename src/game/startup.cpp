#include "game/startup.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "content/content.h"
#include "core/configuration.h"
#include "core/error_codes.h"
#include "core/fault_report.h"
#include "core/frame_end.h"
#include "core/game_phase.h"
#include "core/machine.h"
#include "core/replay.h"
#include "frontend/menus.h"
#include "game/desktop.h"
#include "game/event_dispatch.h"
#include "game/game_clock.h"
#include "game/requests.h"
#include "game/world_tables.h"
#include "media/media.h"
#include "text/font_engine.h"
#include "world/level_dump.h"
#include "world/level_state.h"
#include "world/overlay.h"
#include "world/world.h"

run_options options;

extern std::atomic<bool> program_ending;

void init_globals() {
    init_machine_globals();
    init_game_phase_globals();
    init_configuration_globals();
    init_world_globals();
    init_content_globals();
    init_eventhandler_globals();
    init_text_globals();
    init_sound_list_globals();
    init_frontend_globals();
    init_overlay_globals();
    init_desktop_globals();
    replay_summary = replay_summary_line;
}

void measure_screen() {
    desktop_info desktop = query_desktop();
    screen_width = float(desktop.width);
    screen_height = float(desktop.height);
    if (float(base_width) < screen_width) screen_width = float(base_width);
    if (float(base_height) < screen_height) screen_height = float(base_height);
    screen_scale = screen_width / float(base_width);
}

void open_game_window() {
    game_window = open_window(int(std::lround(screen_width)), int(std::lround(screen_height)),
                              cfg_appname);
    if (game_window == 0) raise_error(error_no_window);
    open_game_screen(game_window);
}

void open_game_screen(int window) {
    game_screen = open_screen(window, int(std::lround(screen_width)),
                              int(std::lround(screen_height)));
    if (game_screen == 0) raise_error(error_no_screen);
}

namespace {

// Both threads wait in real time, also under the virtual clock, which only the
// main thread may advance.
void window_event_thread(int) {
    while (!program_ending) wait_window_event(25);
}

void joypad_watch_thread(int) {
    while (!program_ending) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        if (program_ending) break;
        if (joypad_present == 0) joypad_present = start_joypad_service() ? 1 : 0;
    }
}

void start_background_threads() {
    // A replay takes the joypad from its script, frame by frame, on this thread.
    // A page has no threads; the event pump sees its pads plugged in.
    if (replaying() || !threads_available()) return;
    if (cfg_multicore != 1) {
        raise_error(error_no_threads);
        return;
    }
    if (start_thread(window_event_thread, 0) == 0 || start_thread(joypad_watch_thread, 0) == 0)
        raise_error(error_no_threads);
}

void load_content() {
    build_tile_graphics();
    clear_object_lists();
    load_object_definitions();
    load_sound_effects();
    load_music_list();
    build_floaters();
    build_menu_floaters();
}

void set_up_first_level() {
    if (cfg_useselfcreatebase == 1) {
        load_level_base(cfg_selfcreatebase);
        build_next_level();
    } else {
        set_up_prepared_world();
    }
}

void start_up() {
    MARK_SITE("Main Module");
    init_globals();
    install_fault_handler();
    read_configuration(ini_path);
    route_written_files();
    register_decoders();
    measure_screen();
    open_game_window();
    if (options.fullscreen) set_fullscreen(true);
    std::printf("screen %d x %d, scale %g\n", int(std::lround(screen_width)),
                int(std::lround(screen_height)), double(screen_scale));
    ensure_high_score_file(29);
    start_background_threads();
    create_world_tables();
    load_content();
    load_system_font();
    scan_profiles();
    if (!init_profiles()) raise_error(error_no_profile);
    show_credits();
    title_menu();
    if (cfg_usetopglass == 1) load_top_glass(cfg_topscreen);
    set_up_first_level();
}

void print_usage(FILE* to) {
    std::fputs(
        "usage: zorbel [OPTION]...\n"
        "Plays Zorbel. Started in a folder that holds DATA/ini.txt, the game plays that\n"
        "pack and writes beside it. Otherwise it plays the installed pack, read only, and\n"
        "keeps profiles, log, screenshots and the high-score file in $XDG_DATA_HOME/zorbel.\n"
        "  --help           show this help and end\n"
        "  --version        print the version and end\n"
        "  --data DIR       play the pack in DIR (a modded pack), read only\n"
        "  --windowed       start in the window (the default)\n"
        "  --fullscreen     start on the whole screen; Alt+Return switches in play\n"
        "  --record FILE    write what the player held and typed, to replay the game\n"
        "  --replay FILE    play a recorded or hand-written input script headless and\n"
        "                   print where it ended (see docs/replays.md)\n"
        "For developers and tests:\n"
        "  --frames N       end after N frames\n"
        "  --headless       no window on the desktop, no sound device (implies --virtual-clock)\n"
        "  --virtual-clock  pauses advance the game's clock instead of waiting\n"
        "  --desktop WxH    act as if the desktop were W x H pixels\n"
        "  --answer yes|no  the answer headless message boxes give\n",
        to);
}

// A file name on the command line means the folder the player typed it in.
std::string from_start_folder(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    return current_directory() + "/" + path;
}

void go_headless() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    options.virtual_clock = true;
}

// Returns false, with the reason, when the command line is not understood.
bool parse_arguments(int argc, char** argv, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takes_value = arg == "--frames" || arg == "--record" || arg == "--replay" ||
                                 arg == "--desktop" || arg == "--answer" || arg == "--data";
        if (takes_value && i + 1 >= argc) {
            error = arg + " needs a value";
            return false;
        }
        if (arg == "--help") {
            options.show_help = true;
        } else if (arg == "--version") {
            options.show_version = true;
        } else if (arg == "--windowed" || arg == "--fullscreen") {
            options.fullscreen = arg == "--fullscreen";
        } else if (arg == "--data") {
            options.data_folder = argv[++i];
        } else if (arg == "--frames") {
            frame_limit = std::strtol(argv[++i], nullptr, 10);
        } else if (arg == "--headless") {
            go_headless();
        } else if (arg == "--record") {
            options.record_path = argv[++i];
        } else if (arg == "--replay") {
            options.replay_path = argv[++i];
            go_headless();
        } else if (arg == "--virtual-clock") {
            options.virtual_clock = true;
        } else if (arg == "--desktop") {
            int width = 0, height = 0;
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2) {
                error = "--desktop wants WxH, such as 1920x1080";
                return false;
            }
            set_fake_desktop(width, height);
        } else if (arg == "--answer") {
            const std::string answer = argv[++i];
            if (answer != "yes" && answer != "no") {
                error = "--answer is yes or no";
                return false;
            }
            set_message_box_answer(answer == "yes" ? answer_yes : answer_no);
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

}  // namespace

void run_frame() {
    MARK_SITE("Main Module");
    begin_blended_pass();
    world_frame();
    end_blended_pass();
    // Nothing of a walled-in player's level runs on: no tick, no flip.
    if (pending_request == game_request::trapped) return;
    clock_step(-1);
    present_frame();
    if (cfg_multitask > 0) sleep_ms(cfg_multitask);
}

void main_loop_pass() {
    MARK_SITE("Main Module");
    act_on_request();
    if (loaded_dimension != dimension) {
        // A prepared world is played again, afresh, as the next dimension.
        if (cfg_useselfcreatebase == 1)
            build_next_level();
        else
            set_up_prepared_world();
        new_level_banner = 1;
        loaded_dimension = dimension;
    }
    read_mouse();
    handle_events();
    run_frame();
}

int zorbel_main(int argc, char** argv) {
    std::string error;
    if (!parse_arguments(argc, argv, error)) {
        std::fprintf(stderr, "zorbel: %s\nusage: zorbel [--data DIR] [--windowed | --fullscreen] "
                     "[--record FILE | --replay FILE]\n'zorbel --help' lists every option.\n",
                     error.c_str());
        return 2;
    }
    if (options.show_help) {
        print_usage(stdout);
        return 0;
    }
    if (options.show_version) {
        std::printf("zorbel %s\n", ZORBEL_VERSION);
        return 0;
    }
    if (!options.data_folder.empty() && file_size(options.data_folder) != -2) {
        std::fprintf(stderr, "zorbel: --data %s: no such folder\n", options.data_folder.c_str());
        return 2;
    }
    set_virtual_clock(options.virtual_clock);
    if (!options.replay_path.empty() && !start_replay(options.replay_path)) return 1;
    // The replay is read now, the record written at the end, when the game
    // may have entered its data pack.
    if (!options.record_path.empty() && !start_recording(from_start_folder(options.record_path))) {
        std::fprintf(stderr, "zorbel: cannot write %s\n", options.record_path.c_str());
        return 1;
    }
    if (!choose_data_pack(options.data_folder, error)) {
        std::fprintf(stderr, "zorbel: %s\n", error.c_str());
        return 1;
    }
    start_up();
    // A division by zero the player chose to survive comes back here and the
    // loop goes on with its next pass.
    sigsetjmp(frame_resume, 1);
    frame_resume_armed = true;
    for (;;) main_loop_pass();
}
