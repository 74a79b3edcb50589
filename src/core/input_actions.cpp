#include "core/input_actions.h"

uint8_t stick_direction;
int32_t action_code;
int32_t held_over_action;

namespace {

void (*event_handler)() = nullptr;

}  // namespace

void init_input_action_globals() {
    stick_direction = stick_none;
    action_code = -1;
    held_over_action = action_none;
}

void handle_events() {
    if (event_handler) event_handler();
}

void register_event_handler(void (*handler)()) { event_handler = handler; }
