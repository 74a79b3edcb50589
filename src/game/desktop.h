// The game as a desktop program: where it reads its data pack and where it
// writes, and the joypad named in the log.
#pragma once

#include <string>

// Empty when the game runs portable, reading and writing in its base folder
// as designed. Otherwise the player's own folder (ending in "/"), which takes
// the profiles, the log, the screenshots and the high-score file, while the
// data pack is only read. Chosen from the command line before start-up, so
// init_globals leaves it alone.
extern std::string user_folder;

// Picks the data pack before start-up. The current folder when it holds
// DATA/ini.txt (portable), unless `data_option` names another pack; else the
// installed pack. A given or installed pack becomes the current folder, so
// its paths read as designed. False, with the reason, when a pack was found
// but there is no folder to write in or the pack cannot be entered. When no
// pack is found anywhere the designed "Could not open" follows at start-up.
bool choose_data_pack(const std::string& data_option, std::string& error);

// After the configuration is read: every file the game writes goes under
// user_folder, whose folders are made. Nothing happens when portable.
void route_written_files();

// A line in the log: always on the error output, and appended to the log
// file when logging is on.
void log_note(const std::string& line);

// Called every frame: names a joypad plugged in and hands it the controls,
// and gives them back to the keyboard when it is pulled out.
void watch_joypad();
void init_desktop_globals();
