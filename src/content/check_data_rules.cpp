#include "content/check_data_rules.h"

#include <cctype>

#include "media/media.h"
#include "world/object_definitions.h"
#include "world/tile_definitions.h"

namespace data_check {

std::string pack;
std::vector<data_finding> findings;

// ---- where the findings go ----

std::string shown(const std::string& path) {
    const std::string native = native_path(path);
    if (native.compare(0, pack.size(), pack) == 0) return native.substr(pack.size());
    return native;
}

void report(bool error, const std::string& path, int line, const std::string& text) {
    findings.push_back({error, shown(path), line, text});
}
void error_at(const std::string& path, int line, const std::string& text) {
    report(true, path, line, text);
}
void warning_at(const std::string& path, int line, const std::string& text) {
    report(false, path, line, text);
}

// A value as a modder may read it on a terminal: control bytes written as
// \xHH, and a long one cut.
std::string quoted(const std::string& text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string shown;
    for (unsigned char c : text.substr(0, 60)) {
        if (c < 0x20 || c == 0x7F)
            shown += std::string("\\x") + digits[c >> 4] + digits[c & 15];
        else
            shown += char(c);
    }
    return "\"" + shown + (text.size() > 60 ? "...\"" : "\"");
}

// ---- files on disk, and the near miss that differs only in letter case ----

std::string lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A value from a "text" key is relative to the current folder, which the
// game expects to be the pack's.
std::string in_pack(const std::string& value) {
    const std::string native = native_path(value);
    return !native.empty() && native[0] == '/' ? native : pack + native;
}

// The names of the files (not folders) of `folder` matching `pattern`.
std::set<std::string> files_in(const std::string& folder, const std::string& pattern) {
    std::set<std::string> names;
    const int scan = scan_folder(folder, pattern);
    if (scan == 0) return names;
    while (next_entry(scan))
        if (!entry_is_folder(scan)) names.insert(entry_name(scan));
    end_scan(scan);
    return names;
}

// The entry of `folder` that is `name` but for letter case; empty when none.
std::string entry_like(const std::string& folder, const std::string& name) {
    const std::string wanted = lower(name);
    const int scan = scan_folder(folder.empty() ? "." : folder, "*");
    std::string found;
    while (scan != 0 && next_entry(scan)) {
        if (lower(entry_name(scan)) != wanted) continue;
        found = entry_name(scan);
        break;
    }
    end_scan(scan);
    return found;
}

look look_up(const std::string& path) {
    std::string native = native_path(path);
    // "FOLDER/" of a file is nothing to stat: ask about the file itself.
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    const long long size = file_size(native);
    if (size >= 0) return {on_disk::file, ""};
    if (size == -2) return {on_disk::folder, ""};
    // Walk the path a part at a time, taking a part of another case where the
    // exact one is missing.
    std::string walked = !native.empty() && native[0] == '/' ? "/" : "";
    size_t start = walked.size();
    bool changed = false;
    while (start < native.size()) {
        size_t end = native.find('/', start);
        if (end == std::string::npos) end = native.size();
        const std::string part = native.substr(start, end - start);
        start = end + 1;
        if (part.empty()) continue;
        std::string next = walked + part;
        if (file_size(next) == -1) {
            const std::string other = entry_like(walked, part);
            if (other.empty()) return {};
            next = walked + other;
            changed = true;
        }
        walked = next + "/";
    }
    if (!changed) return {};
    walked.pop_back();
    return {on_disk::missing, walked};
}

std::string near_miss(const look& found) {
    return found.near.empty() ? "" : " (" + shown(found.near) + " differs only in letter case)";
}

namespace {

std::string then(const std::string& consequence) {
    return consequence.empty() ? "" : ": " + consequence;
}

}   // namespace

// True when `path` is a file; otherwise says so at (at, line).
bool need_file(const std::string& path, const std::string& at, int line, const std::string& what,
               const std::string& consequence, bool error) {
    const look found = look_up(path);
    if (found.what == on_disk::file) return true;
    if (found.what == on_disk::folder)
        report(true, at, line,
               what + " " + shown(path) + " is a folder, not a file" + then(consequence));
    else
        report(error, at, line,
               what + " " + shown(path) + " does not exist" + near_miss(found) + then(consequence));
    return false;
}

bool need_folder(const std::string& path, const std::string& at, int line, const std::string& what,
                 const std::string& consequence, bool error) {
    const look found = look_up(path);
    if (found.what == on_disk::folder) return true;
    if (found.what == on_disk::file)
        report(true, at, line,
               what + " " + shown(path) + " is a file, not a folder" + then(consequence));
    else
        report(error, at, line,
               what + " " + shown(path) + " does not exist" + near_miss(found) + then(consequence));
    return false;
}

// ---- key/value files ----

// Numbers read as the game reads them: blanks, sign, digits, and the rest of
// the line ignored.
void check_number(const std::string& path, int line, const std::string& what,
                  const std::string& value, value_kind kind) {
    size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) ++i;
    size_t digits = 0;
    auto skip_digits = [&] {
        while (i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])))
            ++i, ++digits;
    };
    skip_digits();
    if (kind == value_kind::real && i < value.size() && value[i] == '.') ++i, skip_digits();
    if (digits == 0) {
        error_at(path, line, what + " " + quoted(value) + " is not a number: it reads as 0");
        return;
    }
    size_t rest = i;
    while (rest < value.size() && (value[rest] == ' ' || value[rest] == '\t')) ++rest;
    if (rest == value.size()) return;
    const std::string reads = kind == value_kind::real ? std::to_string(read_real(value))
                                                       : std::to_string(read_integer(value));
    warning_at(
        path, line,
        what + " " + quoted(value) + " reads as " + reads + ": the rest of the line is ignored");
}

namespace {

std::string plain_key(const std::string& key) {
    size_t first = key.find_first_not_of(" \t");
    size_t last = key.find_last_not_of(" \t");
    if (first == std::string::npos) return "";
    std::string plain = key.substr(first, last - first + 1);
    for (char& c : plain) c = char(std::toupper(static_cast<unsigned char>(c)));
    return plain;
}

}   // namespace

namespace {

void unknown_key(const std::string& path, int line, const std::string& key, kind_lookup kind_of) {
    value_kind kind;
    const std::string plain = plain_key(key);
    if (plain != key && kind_of(plain, kind)) {
        error_at(path, line,
                 quoted(key) + " is no key: keys are written exactly, " + quoted(plain));
    } else if (kind_of == tile_definition_key_kind && key.size() == 7 &&
               key.compare(0, 6, "#CHILD") == 0 && key[6] >= '5' && key[6] <= '8') {
        warning_at(path, line, quoted(key) + ": a tile has four child slots, this one is skipped");
    } else {
        error_at(path, line,
                 "unknown key " + quoted(key) + ": the game skips it and its value line");
    }
}

}   // namespace

// Checks every pair. False when the pairs are shifted by a missing or extra
// line: nothing after that point reads as meant, so it is not looked at.
bool check_pairs(const std::string& path, const key_value_pairs& pairs, kind_lookup kind_of) {
    for (size_t i = 0; i < pairs.size(); ++i) {
        const int key_line = int(2 * i + 1);
        const auto& [key, value] = pairs[i];
        value_kind kind, value_kind_as_key;
        const bool known = kind_of(key, kind);
        if (!value.empty() && kind_of(value, value_kind_as_key)) {
            if (known)
                error_at(path, key_line + 1,
                         "the value of " + key + " is " + quoted(value) +
                             ", itself a key: a value line is missing above, and every later "
                             "pair is shifted");
            else
                error_at(path, key_line,
                         quoted(key) + " is no key and the line after it is the key " +
                             quoted(value) +
                             ": a line is missing or extra above, and every "
                             "later pair is shifted");
            return false;
        }
        if (!known)
            unknown_key(path, key_line, key, kind_of);
        else if (kind != value_kind::text)
            check_number(path, key_line + 1, key, value, kind);
    }
    if (pairs.size() >= pair_file_limit)
        warning_at(path, int(2 * pair_file_limit + 1),
                   "the game reads no more than " + std::to_string(pair_file_limit) +
                       " pairs of a file: the rest is skipped");
    return true;
}

void check_size(const std::string& path) {
    if (file_size(path) > text_file_limit)
        warning_at(path, 0,
                   "is larger than " + std::to_string(text_file_limit >> 20) +
                       " MiB: the game reads no further");
}

// Reads a key/value file as the game does; false when it cannot be read.
bool read_checked_pairs(const std::string& path, kind_lookup kind_of, key_value_pairs& pairs,
                        bool& straight) {
    check_size(path);
    if (!read_pair_file(path, pairs)) return false;
    straight = check_pairs(path, pairs, kind_of);
    return true;
}

// The value line of the last occurrence of `key` (which wins), 0 when absent.
int value_line(const key_value_pairs& pairs, const std::string& key) {
    for (size_t i = pairs.size(); i-- > 0;)
        if (pairs[i].first == key) return int(2 * i + 2);
    return 0;
}

const std::string* last_value(const key_value_pairs& pairs, const std::string& key) {
    for (size_t i = pairs.size(); i-- > 0;)
        if (pairs[i].first == key) return &pairs[i].second;
    return nullptr;
}

}   // namespace data_check
