#include "core/pair_file.h"

#include "media/media.h"

bool read_pair_file(const std::string& path, key_value_pairs& pairs) {
    pairs.clear();
    int file = open_read(path);
    if (file == 0) return false;
    while (pairs.size() < pair_file_limit && !end_of_file(file)) {
        std::string key = read_line(file);
        std::string value = end_of_file(file) ? std::string() : read_line(file);
        pairs.emplace_back(std::move(key), std::move(value));
    }
    close_file(file);
    return true;
}
