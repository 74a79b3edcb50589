// The game's file readers fed with arbitrary bytes: one function per reader,
// shared by the libFuzzer targets and the regression test that replays what
// they once found. Each input goes through the real reader, from a file in
// memory-backed storage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// The shipped pack's folder; the readers resolve their paths inside it.
void use_pack(const std::string& data_folder);

void feed_configuration(const uint8_t* data, size_t size);
void feed_tile_definition(const uint8_t* data, size_t size);
void feed_object_definition(const uint8_t* data, size_t size);
void feed_level_base(const uint8_t* data, size_t size);
// A world file, then optionally world_alpha_separator and its alpha file.
void feed_world(const uint8_t* data, size_t size);
void feed_profile(const uint8_t* data, size_t size);

inline const std::string world_alpha_separator = "\n#ALPHA#\n";

}  // namespace fuzz
