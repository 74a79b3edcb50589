// The key-line / value-line text files of tiles and objects.
#pragma once

#include <string>
#include <utility>
#include <vector>

using key_value_pairs = std::vector<std::pair<std::string, std::string>>;

// No file of this kind needs more pairs; the reader stops there, so a huge
// file of empty lines cannot fill the memory.
constexpr size_t pair_file_limit = 4096;

// Reads every pair in file order (a key on the last line gets an empty value),
// up to pair_file_limit pairs. False, with no pairs, when the file cannot be
// opened.
bool read_pair_file(const std::string& path, key_value_pairs& pairs);
