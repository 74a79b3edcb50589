# Writes a random input script (docs/replays.md) of `frames` frames from
# `seed`: arrows, menu keys, typed names, a joypad plugged, moved and pulled
# out, focus losses. It reaches play, the pause menu, the quit dialog, the
# options, name entry and the table, and never ends the game on purpose: no
# Ctrl+E, and B (which quits from the quit dialog) only once every dialog
# that may be open has been answered with X.
#   awk -v seed=1 -v frames=200000 -f soak_input.awk
function pick(n) { return int(rand() * n) }
function say(line) { print f " " line }
# A key (or button) held for a moment, then let go long enough to be seen.
function tap(what, hold) {
    say(what)
    f += 1 + pick(hold)
    say(joypad ? "buttons -" : "keys -")
    f += 2 + pick(20)
}
function close_dialogs() {
    # X held closes one open dialog a frame; max_open_dialogs is 8.
    tap(joypad ? "buttons 1" : "keys X", 1)
    say(joypad ? "buttons 1" : "keys X")
    f += 10
    say(joypad ? "buttons -" : "keys -")
    f += 2
    dialogs = 0
}
function letters(   n, s, k, c) {
    n = 1 + pick(6)
    s = ""
    for (k = 0; k < n; ++k) {
        c = pick(40)
        if (c < 26) s = s sprintf("%c", 65 + c)
        else if (c < 36) s = s sprintf("%c", 48 + c - 26)
        else if (c == 36) s = s "\\xE9"
        else if (c == 37) s = s "\\\""
        else if (c == 38) s = s " "
        else s = s "\\xFF"
    }
    return s
}
function keyboard_step(   r, arrows) {
    r = pick(100)
    if (r < 40) {
        arrows = arrow[pick(4)]
        # Now and then two at once, which the game reads as none.
        if (pick(10) == 0) arrows = arrows " " arrow[pick(4)]
        say("keys " arrows)
        f += 5 + pick(120)
    } else if (r < 50) tap("keys Return", 3)
    else if (r < 55) { tap("keys Escape", 2); ++dialogs }
    else if (r < 59) { tap(pick(2) ? "keys Y" : "keys D", 2); ++dialogs }
    else if (r < 66) { tap(pick(2) ? "keys X" : "keys C", 3); if (dialogs > 0) --dialogs }
    else if (r < 70) { if (dialogs > 0) close_dialogs(); tap("keys B", 2) }
    else if (r < 74) tap("keys S", 2)
    else if (r < 78) tap(pick(2) ? "keys A" : "keys Space", 2)
    else if (r < 80) tap("keys M", 1)
    else if (r < 88) { say("text \"" letters() "\""); f += 1 + pick(5) }
    else if (r < 90) tap("keys Backspace", 2)
    else if (r < 91) { say("focus-lost"); f += 2 + pick(10) }
    else { say("keys -"); f += 10 + pick(300) }
}
function joypad_step(   r) {
    r = pick(100)
    if (r < 45) {
        say("axes " (pick(3) - 1) " " (pick(3) - 1))
        f += 5 + pick(120)
    } else if (r < 55) tap("buttons 10", 3)
    else if (r < 60) { tap("buttons 4", 2); ++dialogs }
    else if (r < 68) { tap("buttons 1", 3); if (dialogs > 0) --dialogs }
    else if (r < 72) { if (dialogs > 0) close_dialogs(); tap("buttons 3", 2) }
    else if (r < 76) tap("buttons 9", 2)
    else if (r < 82) tap("buttons 2", 2)
    else if (r < 86) tap("buttons " (5 + pick(4)), 2)
    else if (r < 88) { say("focus-lost"); f += 2 + pick(10) }
    else { say("axes 0 0 buttons -"); f += 10 + pick(300) }
}
BEGIN {
    srand(seed)
    split("Up Down Left Right", arrow, " ")
    arrow[0] = arrow[4]
    print "# random input, seed " seed
    print "seed " seed
    f = 0
    joypad = 0
    dialogs = 0
    while (f < frames - 400) {
        if (pick(60) == 0) {
            joypad = !joypad
            say("keys - joypad " joypad " axes 0 0 buttons -")
            f += 1 + pick(5)
            continue
        }
        if (joypad) joypad_step(); else keyboard_step()
    }
    # The last frames: every dialog answered, nothing held.
    say("keys - joypad 0 axes 0 0 buttons -")
    joypad = 0
    f += 5
    close_dialogs()
    print frames " end"
}
