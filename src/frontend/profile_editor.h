// Player profiles: one small text file per finished game, in the profiles
// folder, with a companion ".prof" file holding its size. The high-score
// table and the best score are worked out from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct profile {
    std::string profile_name;
    int32_t profile_score = 0;
    int32_t profile_gamer_score = 0;   // kept, not used
    std::string profile_avatar;
    std::string profile_path;          // the only field a folder scan fills
};

extern std::vector<profile> profiles;   // in folder-scan order

void init_profile_globals();

// Empties `profiles` and lists the folder's "*.profile" files.
void scan_profiles();
// Reads every listed file; keeps the results above 0 (and unreadable files).
void load_profiles();
// One key/value pair into the profile being loaded; raises highscore_best.
void apply_profile_entry(const std::string& key, const std::string& value);
// The placeholder written at the first start, so the folder is never empty.
void create_default_profile(const std::string& folder);
// A new profile for `name` with the current score. Written whole or not at
// all, never over an existing profile. False when nothing could be written.
bool save_profile(const std::string& name);
void load_avatar(const std::string& path);
// Start-up, after scan_profiles: the placeholder when the folder holds no
// profile, else the profiles loaded. False when no placeholder could be written.
bool init_profiles();

// The parts of a profile, computed at the moment of writing.
std::string profile_base_name();
std::string global_signature(const std::string& base_name);
std::string local_signature(const std::string& name);
// The whole file: key and value lines, CR LF between them, none at the end.
std::string profile_text(const std::string& name, const std::string& score,
                         const std::string& gamer_score, const std::string& global,
                         const std::string& local);
