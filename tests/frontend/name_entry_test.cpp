// Typing a name by keyboard and joypad wheel, its limit and edit pause; then the whole name entry.
#include "front_end_fixture.h"

using namespace front;

namespace {

class NameEntry : public FrontEnd {
protected:
    // One frame of the name entry's input; returns the milliseconds the edit step held the game.
    uint32_t edit_frame(std::string& name) {
        handle_events();
        const uint32_t before = milliseconds();
        if (joypad_present == 0) keyboard_edit_step(name);
        else joypad_edit_step(name);
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

constexpr uint32_t pause_ms = uint32_t(edit_pause_ms);

}  // namespace

TEST_F(NameEntry, LettersBecomeUpperCaseAndOtherCharactersAddNothing) {
    std::vector<input_frame> frames;
    for (const char* text : {"a", "7", " ", "\xE9", "z", "{", "@", "_", "[", "`", "\\"}) frames.push_back(keys({}, text));
    EXPECT_EQ(typed(frames), "AZ_[`\\") << "a backslash too: the name shows on two lines";
    EXPECT_EQ(typed({keys({}, "bq"), keys({}, "1c")}), "B") << "of several characters in a frame only the first counts";
    EXPECT_EQ(read_typed_letter(), 0) << "nothing typed";
}

TEST_F(NameEntry, ElevenLettersAtMostAndBackspaceRemovesOneIfThereIsOne) {
    std::vector<input_frame> frames;
    for (char c : std::string("abcdefghijkl")) frames.push_back(keys({}, std::string(1, c)));
    play_from_now(frames + repeated(keys({backspace}), 2));
    std::string name;
    for (int i = 0; i < 12; ++i) EXPECT_EQ(edit_frame(name), 0u);
    EXPECT_EQ(name, "ABCDEFGHIJK");
    EXPECT_EQ(edit_frame(name), pause_ms);
    EXPECT_EQ(name, "ABCDEFGHIJ");
    name.clear();
    EXPECT_EQ(edit_frame(name), 0u) << "backspace on an empty name: no pause";
    EXPECT_EQ(name, "");
}

TEST_F(NameEntry, TheWheelWrapsBetweenAAndZAndPausesOnlyWhenItTurns) {
    EXPECT_EQ(joypad_letter, 0);
    uint32_t before = milliseconds();
    EXPECT_EQ(step_joypad_letter(stick_none), 'Z') << "the first offer after start-up";
    EXPECT_EQ(milliseconds(), before);
    const struct { uint8_t direction; int32_t letter; } turns[] = {
        {stick_up, 'A'}, {stick_down, 'Z'}, {stick_right, 'A'}, {stick_left, 'Z'},
        {stick_left, 'Y'}, {stick_up, 'Z'}, {stick_up, 'A'}, {stick_right, 'B'}};
    for (const auto& turn : turns) {
        before = milliseconds();
        EXPECT_EQ(step_joypad_letter(turn.direction), turn.letter);
        EXPECT_EQ(milliseconds() - before, pause_ms);
    }
    joypad_letter = 200;   // whatever it holds, the wheel offers a letter
    EXPECT_EQ(step_joypad_letter(stick_none), 'A');
}

// A held stick turns a letter a frame, button 2 takes it (not on a full name), button 1 removes one.
TEST_F(NameEntry, TheJoypadTurnsTheWheelTakesALetterAndRemovesOne) {
    joypad_present = 1;
    play_from_now(repeated(pad(0, -1, {}), 3) + repeated(pad(0, 0, {2}), 1));
    std::string name;
    std::vector<std::string> offered;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(edit_frame(name), pause_ms);
        offered.push_back(joypad_letter_text);
    }
    EXPECT_EQ(offered, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(edit_frame(name), pause_ms);
    EXPECT_EQ(name, "C");
    EXPECT_EQ(action_code, action_none) << "taken: the button's action is used up";

    joypad_letter = 'Q';
    play_from_now({pad(0, 0, {2}), pad(0, 0, {2}), pad(0, 0, {1}), pad(0, 0, {1})});
    const struct { uint32_t pause; const char* name; } steps[] = {
        {pause_ms, "ABCDEFGHIJQ"}, {0, "ABCDEFGHIJQ"}, {pause_ms, "ABCDEFGHIJ"}};
    name = "ABCDEFGHIJ";
    for (const auto& step : steps) {
        EXPECT_EQ(edit_frame(name), step.pause) << step.name;
        EXPECT_EQ(name, step.name);
        if (step.pause == 0) {
            EXPECT_EQ(action_code, action_a) << "a full name leaves button 2 its action";
        }
    }
    name.clear();
    EXPECT_EQ(edit_frame(name), 0u) << "nothing to remove";
}

// Action keys just type their letters; Return ends it, then the table and the title want their own.
TEST_F(NameEntry, TheActionKeysTypeTheirLettersAndTheResultIsSaved) {
    music_on = 1;
    score = 77;
    const std::vector<input_frame> frames = {keys({}), keys({a}, "a"), keys({b}, "b"), keys({s}, "s"), keys({m}, "m"),
                                             keys({x}, "x"), keys({y}, "y"), keys({c}, "c"), keys({d}, "d"), keys({}, "\\")};
    const std::vector<input_frame> release = {keys({})};
    play_from_now(frames + repeated(keys({enter}), 4) + release + repeated(keys({enter}), 2) + release +
                  repeated(keys({enter}), 2));
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
    EXPECT_TRUE(text.starts_with("USERNAME\r\nABSMXYCD\\\r\nUSERSCORE\r\n77\r\n")) << text;
    EXPECT_EQ(score_table.size(), 1u);
    EXPECT_EQ(highscore_best, 77);
    EXPECT_EQ(profiles.size(), 1u) << "loaded again after the table";
}
