// Colours as the media layer takes them: r + 256 g + 65536 b.
#pragma once

#include <cstdint>

constexpr uint32_t black = 0x000000;
constexpr uint32_t white = 0xFFFFFF;
constexpr uint32_t magenta = 0xFF00FF;   // the colour key: see-through
constexpr uint32_t red = 0x0000FF;
