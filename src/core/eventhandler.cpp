#include "core/eventhandler.h"

#include "core/system_ini.h"
#include "media/media.h"

uint8_t stick_direction;
int32_t action_code;

void init_eventhandler_globals() {
    stick_direction = 16;
    action_code = -1;
}

void handle_events() {
    stick_direction = 16;
    action_code = 16;
    snapshot_keyboard();
}
