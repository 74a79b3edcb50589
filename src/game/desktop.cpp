#include "game/desktop.h"

#include <cstdio>

#include "core/configuration.h"
#include "core/machine.h"
#include "game/startup.h"
#include "media/media.h"

std::string user_folder;

namespace {

std::string named_joypad;

bool holds_pack(const std::string& folder) {
    return file_size(folder + "/DATA/ini.txt") >= 0;
}

// Beside the program first (an installation moved to another prefix keeps
// working), then where it was installed.
std::string installed_pack() {
    const std::string beside = program_folder() + ZORBEL_PACK_FROM_BINARY;
    if (!program_folder().empty() && holds_pack(beside)) return beside;
    if (holds_pack(ZORBEL_INSTALLED_PACK)) return ZORBEL_INSTALLED_PACK;
    return "";
}

// A value naming a place in the pack names the same place in the user's
// folder; an absolute place outside the pack was the modder's choice.
std::string in_user_folder(const std::string& value) {
    if (value.rfind(base_folder, 0) == 0) return user_folder + value.substr(base_folder.size());
    if (!value.empty() && (value[0] == '/' || value[0] == '\\')) return value;
    return user_folder + value;
}

// The folder part of a path and file-name prefix ("SCREENSHOTS\zorbel").
std::string folder_of(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

}  // namespace

void init_desktop_globals() { named_joypad.clear(); }

bool choose_data_pack(const std::string& data_option, std::string& error) {
    user_folder.clear();
    std::string pack = data_option;
    if (pack.empty()) {
        if (holds_pack(current_directory())) return true;
        pack = installed_pack();
        if (pack.empty()) return true;
    }
    user_folder = user_data_folder();
    if (user_folder.empty()) {
        error = "no folder to keep profiles, log and screenshots in (is HOME set?)";
        return false;
    }
    if (!change_directory(pack)) {
        error = "cannot enter the data pack " + pack;
        user_folder.clear();
        return false;
    }
    return true;
}

void route_written_files() {
    if (user_folder.empty()) return;
    cfg_profiles = in_user_folder(cfg_profiles);
    cfg_scrsave = in_user_folder(cfg_scrsave);
    cfg_logpath = in_user_folder(cfg_logpath);
    cfg_highscore = in_user_folder(cfg_highscore);
    for (const std::string& folder :
         {cfg_profiles, folder_of(cfg_scrsave), cfg_logpath, cfg_highscore})
        if (!folder.empty() && !make_folders(folder))
            std::fprintf(stderr, "zorbel: cannot make the folder %s\n", native_path(folder).c_str());
}

void log_note(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    if (cfg_uselogfile == 0) return;
    // Appending: a log past the text-file limit would be read only in part.
    int file = open_append(cfg_logpath + cfg_logfile);
    if (file == 0) return;
    write_line(file, line);
    close_file(file);
}

void watch_joypad() {
    const std::string name = joypad_name();
    if (name == named_joypad) return;
    // Set here too, not only by the joypad watch thread, so a pad plugged in
    // also counts without the threads (MULTICORE 0).
    if (!name.empty()) {
        log_note("JOYPAD:" + name);
        joypad_present = 1;
    } else {
        log_note("JOYPAD REMOVED:" + named_joypad);
        joypad_present = 0;   // the keyboard steers again; the watch looks for the next pad
    }
    named_joypad = name;
}
