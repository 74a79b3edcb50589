// The data checker's tools: where findings go, what lies on disk (and the
// near miss that differs only in letter case), and the checks every
// key/value file and number gets.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "content/check_data.h"
#include "core/configuration.h"
#include "core/pair_file.h"

namespace data_check {

extern std::string pack;   // the pack's folder, native, ending in "/"
extern std::vector<data_finding> findings;

// A path as the findings show it: relative to the pack, with "/".
std::string shown(const std::string& path);
void report(bool error, const std::string& path, int line, const std::string& text);
void error_at(const std::string& path, int line, const std::string& text);
void warning_at(const std::string& path, int line, const std::string& text);
// A value in quotes, control bytes as \xHH, a long one cut.
std::string quoted(const std::string& text);
std::string lower(std::string text);

// A value of a "text" key: relative to the current folder, the pack's.
std::string in_pack(const std::string& value);
// The names of the files (not folders) of `folder` matching `pattern`.
std::set<std::string> files_in(const std::string& folder, const std::string& pattern);
// The entry of `folder` that is `name` but for letter case; empty when none.
std::string entry_like(const std::string& folder, const std::string& name);

enum class on_disk { missing, file, folder };
struct look {
    on_disk what = on_disk::missing;
    std::string near;   // when missing: the path that differs only in letter case
};
look look_up(const std::string& path);
std::string near_miss(const look& found);   // " (... differs only in letter case)" or ""

// True when `path` is a file (a folder); otherwise says so at (at, line):
// what it is, and what the game then does.
bool need_file(const std::string& path, const std::string& at, int line, const std::string& what,
               const std::string& consequence = "", bool error = true);
bool need_folder(const std::string& path, const std::string& at, int line, const std::string& what,
                 const std::string& consequence = "", bool error = true);

// Numbers as the game reads them: no digits is an error, text after them a warning.
void check_number(const std::string& path, int line, const std::string& what,
                  const std::string& value, value_kind kind);

using kind_lookup = bool (*)(const std::string&, value_kind&);
// Checks every pair. False when the pairs are shifted by a missing or extra
// line: nothing after that point reads as meant, so it is not looked at.
bool check_pairs(const std::string& path, const key_value_pairs& pairs, kind_lookup kind_of);
void check_size(const std::string& path);   // warns of a file the game reads only in part
// Reads a key/value file as the game does; false when it cannot be read.
bool read_checked_pairs(const std::string& path, kind_lookup kind_of, key_value_pairs& pairs,
                        bool& straight);
// The value line of the last occurrence of `key` (which wins), 0 when absent.
int value_line(const key_value_pairs& pairs, const std::string& key);
const std::string* last_value(const key_value_pairs& pairs, const std::string& key);

}   // namespace data_check
