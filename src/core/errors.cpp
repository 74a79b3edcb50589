// The numbered start-up errors and the one orderly way out of the program.
#include <unistd.h>

#include <atomic>
#include <cstdio>

#include "core/configuration.h"
#include "core/error_codes.h"
#include "core/replay.h"
#include "media/media.h"

std::string status_text;
std::atomic<bool> program_ending{false};

namespace {

const char* const error_title = "ERROR ";

void show_fatal(const std::string& text) {
    message_box(error_title, text, false);
    end_program();
}

}  // namespace

void raise_error(int code) {
    switch (code) {
    case error_no_configuration: show_fatal("Could not open " + ini_path); break;
    case error_no_threads: message_box(error_title, "Could not create multithreading", false); break;
    case error_no_screen: show_fatal(" Could not open screen"); break;
    case error_no_window: show_fatal(" Could not open window"); break;
    case error_no_keyboard: show_fatal(" Could not open keyboarddevice"); break;
    case error_division_by_zero:
        if (message_box(error_title,
                        " division by zero. please read logfile:" + cfg_logpath + cfg_logfile +
                            "\n for more information\n continue engine?",
                        true) == answer_no)
            end_program();
        break;
    case error_no_topography: show_fatal(" Could not open topographic data"); break;
    case error_no_level_base: show_fatal(" Could not open:" + cfg_selfcreatebase); break;
    case error_no_profile: status_text = " CAN NOT CREATE PROFILE INFORMATION|"; break;
    case error_no_cursor: show_fatal(" Could not open:" + cfg_cursor); break;
    case error_no_image_list: show_fatal(" Could not create gfx_list:" + cfg_systemcore + cfg_corename); break;
    case error_no_thread:
        if (message_box(error_title,
                        "Could not create thread (multithreading/parallel computing)\n"
                        "do you want to try serial computing? if *no* program will quit\n"
                        "engine will try to activate multithreading...",
                        true) == answer_no)
            end_program();
        cfg_multicore = 0;
        break;
    default: break;   // 3 and unknown codes do nothing
    }
}

void end_program() {
    // The background threads look at this before touching the media layer.
    program_ending = true;
    finish_input_script_modes();
    shutdown_media();
    std::fflush(nullptr);
    // Detached threads are still running: leave without static destructors.
    _exit(0);
}
