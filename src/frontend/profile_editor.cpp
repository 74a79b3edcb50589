#include "frontend/profile_editor.h"

#include <algorithm>
#include <climits>

#include "core/configuration.h"
#include "core/fault_report.h"
#include "core/machine.h"
#include "core/pair_file.h"
#include "media/media.h"
#include "media/random.h"
#include "world/world_frame.h"

std::vector<profile> profiles;

namespace {

// The record apply_profile_entry fills, while load_profiles reads its file.
profile* loading = nullptr;

// A clash of base names (two results within one clock reading) is settled
// by waiting for the clock to move on, a bounded number of times.
constexpr int name_clash_retries = 50;

std::string str(int64_t n) { return std::to_string(n); }

// random(n) for a clock reading, which may not fit a signed 32-bit bound.
int64_t random_up_to(uint32_t n) { return random(int32_t(std::min<uint32_t>(n, INT32_MAX))); }

std::string profile_folder_to_scan() {
    // An empty folder name means the current folder, where the files go too.
    return cfg_profiles.empty() ? "." : cfg_profiles;
}

// The profile and then its size file, each whole or not at all. A crash
// between the two leaves a profile without its size file, which nothing
// reads; so only the profile waits for the disk.
bool write_profile_files(const std::string& folder, const std::string& base,
                         const std::string& text) {
    if (!write_new_file(folder + base + ".profile", text)) return false;
    write_new_file(folder + base + ".prof", str(int64_t(text.size())) + "\r\n", false);
    return true;
}

}  // namespace

void init_profile_globals() {
    profiles.clear();
    loading = nullptr;
}

std::string profile_base_name() {
    const uint32_t elapsed = milliseconds() - start_time_ms;
    uint32_t seconds = elapsed / 1000;
    const uint32_t minutes = seconds / 60;
    seconds -= minutes * 60;
    return str(elapsed) + str(minutes) + str(seconds) + str(milliseconds());
}

std::string global_signature(const std::string& base_name) {
    const uint32_t t1 = milliseconds();
    const uint32_t t2 = milliseconds();
    return base_name + str(int64_t(t1) + random_up_to(t2));
}

std::string local_signature(const std::string& name) {
    std::string groups = "000";
    for (unsigned char c : name) {
        const int v = int(c) + random(5) + 1;
        if (v < 10)
            groups += "00";
        else if (v < 100)
            groups += "0";
        groups += str(v);
    }
    return groups;
}

std::string profile_text(const std::string& name, const std::string& score,
                         const std::string& gamer_score, const std::string& global,
                         const std::string& local) {
    return "USERNAME\r\n" + name + "\r\nUSERSCORE\r\n" + score + "\r\nUSERGAMERSCORE\r\n" +
           gamer_score + "\r\nGLOBALSIGNATURE\r\n" + global + "\r\nLOCALSIGNATURE\r\n" + local;
}

void scan_profiles() {
    MARK_SITE("profile_editor");
    profiles.clear();
    const int scan = scan_folder(profile_folder_to_scan(), "*.profile");
    if (scan == 0) return;
    while (next_entry(scan)) {
        if (entry_is_folder(scan)) continue;
        profile p;
        p.profile_path = cfg_profiles + entry_name(scan);
        profiles.push_back(std::move(p));
    }
    end_scan(scan);
}

void load_profiles() {
    MARK_SITE("profile_editor");
    std::vector<profile> kept;
    kept.reserve(profiles.size());
    for (profile& p : profiles) {
        key_value_pairs pairs;
        // An unreadable file stays listed, with no name and no score.
        if (!read_pair_file(p.profile_path, pairs)) {
            kept.push_back(std::move(p));
            continue;
        }
        loading = &p;
        for (const auto& [key, value] : pairs) apply_profile_entry(key, value);
        loading = nullptr;
        if (p.profile_score >= 1) kept.push_back(std::move(p));
    }
    profiles = std::move(kept);
}

void apply_profile_entry(const std::string& key, const std::string& value) {
    if (!loading) return;
    if (key == "USERNAME") {
        loading->profile_name = value;
    } else if (key == "USERSCORE") {
        loading->profile_score = read_integer(value);
        if (loading->profile_score > highscore_best) highscore_best = loading->profile_score;
    } else if (key == "USERGAMERSCORE") {
        loading->profile_gamer_score = read_integer(value);
    } else if (key == "USERAVATAR") {
        loading->profile_avatar = cfg_profiles + value;
        load_avatar(loading->profile_avatar);
    }
}

// No screen shows an avatar: this is where one would be loaded.
void load_avatar(const std::string&) {}

void create_default_profile(const std::string& folder) {
    MARK_SITE("profile_editor");
    const std::string base = profile_base_name();
    write_profile_files(folder, base,
                        profile_text("DUMMY", "-1000000", "-100000", global_signature(base),
                                     "000000000000000000"));
}

bool save_profile(const std::string& name) {
    MARK_SITE("profile_editor");
    const std::string local = local_signature(name);
    for (int attempt = 0; attempt <= name_clash_retries; ++attempt) {
        const std::string base = profile_base_name();
        if (file_size(cfg_profiles + base + ".profile") == -1 &&
            write_profile_files(cfg_profiles, base,
                                profile_text(name, str(score), "0", global_signature(base), local)))
            return true;
        // Taken by an earlier result, or not writable at all: only a clash
        // is worth waiting for.
        if (file_size(cfg_profiles + base + ".profile") == -1) return false;
        sleep_ms(1);
    }
    return false;
}

bool init_profiles() {
    if (!profiles.empty()) {
        load_profiles();
        return true;
    }
    create_default_profile(cfg_profiles);
    scan_profiles();
    return !profiles.empty();
}
