#include "game/game_clock.h"

#include "core/configuration.h"
#include "core/fault_report.h"
#include "core/game_phase.h"
#include "core/sound_list.h"
#include "world/level_state.h"

void clock_step(int direction) {
    MARK_SITE("game_clock");
    if (direction != 1 && direction != -1) return;
    // Counted as "one more frame, then past the limit?" without ever adding
    // past it, so a huge WORLDREFRESH cannot overflow the count.
    if (clock_frames < clock_tick_limit) {
        ++clock_frames;
        return;
    }
    clock_frames = 0;
    time_left += direction;
    if (time_left > 0 && time_left < 11) play_sound_effect(cfg_timersound, 0);
    if (time_left < 0) request(game_request::time_up);
}
