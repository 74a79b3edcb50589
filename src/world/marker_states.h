// What the marker is doing: the numbers of player.state, which enemies'
// headings share.
#pragma once

#include <cstdint>

enum : int32_t {
    marker_down = 18, marker_left = 19, marker_right = 20, marker_up = 21, marker_idle = 22
};
