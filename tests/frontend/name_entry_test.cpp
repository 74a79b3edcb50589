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
    play_from_now({pad(0, 0, {1})});
    EXPECT_EQ(edit_frame(name), pause_ms);
    EXPECT_EQ(name, "");
    joypad_letter = 'A';
    EXPECT_EQ(step_joypad_letter(stick_down), 'Z') << "the wheel wraps";
    EXPECT_EQ(step_joypad_letter(stick_right), 'A');
    name = "ABCDEFGHIJK";
    play_from_now({pad(0, 0, {2})});
    EXPECT_EQ(edit_frame(name), 0u) << "a full name takes no letter";
    EXPECT_EQ(action_code, action_a);
}

