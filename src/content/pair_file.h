// The key-line / value-line text files of tiles and objects.
#pragma once

#include <string>
#include <utility>
#include <vector>

using key_value_pairs = std::vector<std::pair<std::string, std::string>>;

// Reads every pair in file order (a key on the last line gets an empty value).
// False, with no pairs, when the file cannot be opened.
bool read_pair_file(const std::string& path, key_value_pairs& pairs);
