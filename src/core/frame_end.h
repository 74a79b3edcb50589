// The end of every drawn frame, whoever draws it: flip, events, frame limit.
#pragma once

extern long frame_limit;   // end through end_program after this many frames; -1 never

// Called after every flip; the developer tool's players watch the game here.
extern void (*frame_presented)();

void present_frame();
