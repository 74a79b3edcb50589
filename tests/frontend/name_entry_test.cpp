// Typing a name: the keyboard's letters and Backspace, the joypad's letter
// wheel, the length limit and the edit pause; then the whole name entry.
#include <regex>

#include "front_end_fixture.h"

using namespace front;

namespace {

class name_entry : public front_end {
protected:
    // One frame of the name entry's input: the event handler, then the step
    // for the device in use; returns the milliseconds the step held the game.
    uint32_t edit_frame(std::string& name) {
        handle_events();
        const uint32_t before = milliseconds();
        if (joypad_present == 0)
            keyboard_edit_step(name);
        else
            joypad_edit_step(name);
        const uint32_t held = milliseconds() - before;
        flip_screen();
        return held;
    }
    std::string typed(const std::vector<input_frame>& frames) {
        play_from_now(frames);
        std::string name;
        for (size_t i = 0; i < frames.size(); ++i) edit_frame(name);
        return name;
    }
};

std::string last_line_value(const std::string& text, const std::string& key) {
    const size_t at = text.find(key + "\r\n");
    if (at == std::string::npos) return "<none>";
    const size_t start = at + key.size() + 2;
    return text.substr(start, text.find("\r\n", start) - start);
}

}  // namespace

TEST_F(name_entry, letters_become_upper_case_and_other_characters_add_nothing) {
    EXPECT_EQ(typed({keys({}, "a"), keys({}, "7"), keys({}, " "), keys({}, "\xE9"),
                     keys({}, "z"), keys({}, "{"), keys({}, "@"), keys({}, "_"), keys({}, "["),
                     keys({}, "`"), keys({}, "\\")}),
              "AZ_[`\\") << "a backslash too: the name shows on two lines";
    // Of several characters typed in one frame only the first counts.
    EXPECT_EQ(typed({keys({}, "bq"), keys({}, "1c")}), "B");
    EXPECT_EQ(read_typed_letter(), 0) << "nothing typed";
}

TEST_F(name_entry, eleven_letters_at_most_and_backspace_removes_one_if_there_is_one) {
    std::vector<input_frame> frames;
    for (char c : std::string("abcdefghijkl")) frames.push_back(keys({}, std::string(1, c)));
    play_from_now(frames + std::vector<input_frame>{keys({backspace}), keys({backspace})});
    std::string name;
    for (int i = 0; i < 12; ++i) EXPECT_EQ(edit_frame(name), 0u);
    EXPECT_EQ(name, "ABCDEFGHIJK");
    EXPECT_EQ(edit_frame(name), uint32_t(edit_pause_ms));
    EXPECT_EQ(name, "ABCDEFGHIJ");
    name.clear();
    EXPECT_EQ(edit_frame(name), 0u) << "backspace on an empty name: no pause";
    EXPECT_EQ(name, "");
}

TEST_F(name_entry, the_wheel_wraps_between_a_and_z_and_pauses_only_when_it_turns) {
    EXPECT_EQ(joypad_letter, 0);
    uint32_t before = milliseconds();
    EXPECT_EQ(step_joypad_letter(stick_none), 'Z') << "the first offer after start-up";
    EXPECT_EQ(milliseconds(), before);
    const struct {
        uint8_t direction;
        int32_t letter;
    } turns[] = {{stick_up, 'A'}, {stick_down, 'Z'}, {stick_right, 'A'}, {stick_left, 'Z'},
                 {stick_left, 'Y'}, {stick_up, 'Z'}, {stick_up, 'A'}, {stick_right, 'B'}};
    for (const auto& turn : turns) {
        before = milliseconds();
        EXPECT_EQ(step_joypad_letter(turn.direction), turn.letter);
        EXPECT_EQ(milliseconds() - before, uint32_t(edit_pause_ms));
    }
    joypad_letter = 200;   // whatever it holds, the wheel offers a letter
    EXPECT_EQ(step_joypad_letter(stick_none), 'A');
}

TEST_F(name_entry, a_held_stick_turns_the_wheel_one_letter_a_frame_and_button_2_takes_it) {
    joypad_present = 1;
    play_from_now(repeated(pad(0, -1, {}), 3) + std::vector<input_frame>{pad(0, 0, {2})});
    std::string name;
    std::vector<std::string> offered;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(edit_frame(name), uint32_t(edit_pause_ms));
        offered.push_back(joypad_letter_text);
    }
    EXPECT_EQ(offered, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(edit_frame(name), uint32_t(edit_pause_ms));
    EXPECT_EQ(name, "C");
    EXPECT_EQ(action_code, action_none) << "taken: the button's action is used up";
}

TEST_F(name_entry, on_a_full_name_button_2_adds_nothing_and_button_1_removes) {
    joypad_present = 1;
    joypad_letter = 'Q';
    play_from_now({pad(0, 0, {2}), pad(0, 0, {2}), pad(0, 0, {1}), pad(0, 0, {1})});
    std::string name = "ABCDEFGHIJ";
    EXPECT_EQ(edit_frame(name), uint32_t(edit_pause_ms));
    EXPECT_EQ(name, "ABCDEFGHIJQ");
    EXPECT_EQ(edit_frame(name), 0u);
    EXPECT_EQ(name, "ABCDEFGHIJQ");
    EXPECT_EQ(action_code, action_a);
    EXPECT_EQ(edit_frame(name), uint32_t(edit_pause_ms));
    EXPECT_EQ(name, "ABCDEFGHIJ");
    name.clear();
    EXPECT_EQ(edit_frame(name), 0u) << "nothing to remove";
}

// The whole screen: keys that carry actions elsewhere just type their
// letters; Return ends the entry and, still held, the table and the title.
TEST_F(name_entry, the_action_keys_type_their_letters_and_the_result_is_saved) {
    music_on = 1;
    score = 77;
    std::vector<input_frame> frames = {keys({}), keys({a}, "a"), keys({b}, "b"), keys({s}, "s"),
                                       keys({m}, "m"), keys({x}, "x"), keys({y}, "y"),
                                       keys({c}, "c"), keys({d}, "d"), keys({}, "\\")};
    // Return ends the entry; the table and then the title each want a press
    // of their own.
    const std::vector<input_frame> release = {keys({})};
    play_from_now(frames + repeated(keys({enter}), 4) + release + repeated(keys({enter}), 2) +
                  release + repeated(keys({enter}), 2));
    enter_high_score();

    EXPECT_EQ(screen_state, screen_state_game_requested) << "through the table and the title";
    EXPECT_EQ(dimension, 1);
    for (const seen_frame& f : seen)
        EXPECT_TRUE(f.screen == screen_state_name_entry || f.screen == screen_state_score_table ||
                    f.screen == screen_state_title || f.screen == screen_state_game_requested)
            << "no other screen opened: " << int(f.screen);
    EXPECT_EQ(count_screen(screen_state_name_entry), frames.size() + 1);
    EXPECT_EQ(music_on, 1);
    ASSERT_EQ(files_ending(".profile").size(), 1u);
    const std::string text = folder.read("PROFILES/" + files_ending(".profile").front());
    EXPECT_EQ(last_line_value(text, "USERNAME"), "ABSMXYCD\\");
    EXPECT_EQ(last_line_value(text, "USERSCORE"), "77");
    EXPECT_EQ(score_table.size(), 1u);
    EXPECT_EQ(highscore_best, 77);
    EXPECT_EQ(profiles.size(), 1u) << "loaded again after the table";
}
