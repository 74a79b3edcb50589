#include "core/frame_end.h"

#include "core/configuration.h"
#include "core/machine.h"
#include "core/replay.h"
#include "media/media.h"

long frame_limit = -1;
void (*frame_presented)() = nullptr;

void present_frame() {
    flip_screen();
    if (replaying()) joypad_present = start_joypad_service() ? 1 : 0;
    if (pump_events()) end_program();
    if (frame_presented) frame_presented();
    if (frame_limit >= 0 && frame_number() >= frame_limit) end_program();
}
