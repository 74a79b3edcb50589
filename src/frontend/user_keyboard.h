// Typing a name at the end of a game: letters from the keyboard, or a letter
// wheel turned with the joypad's stick.
#pragma once

#include <cstdint>
#include <string>

constexpr size_t name_length_limit = 11;
constexpr int edit_pause_ms = 250;

extern int32_t joypad_letter;             // the wheel's letter code; kept between entries
extern std::string joypad_letter_text;    // the same letter as text; empty until the wheel turns

void init_name_entry_globals();

// The letter typed since the last call, upper case, or 0: only codes 65 to
// 122 count (A-Z, a-z and [ \ ] ^ _ `), and only the first character typed.
int32_t read_typed_letter();
// Moves the wheel one letter by the stick (up or right forward), wrapping
// between A and Z, with the edit pause after a move. Returns the letter.
int32_t step_joypad_letter(uint8_t direction);
// One frame's editing, after the event handler: typed letters and Backspace,
// or with a joypad, button 2 taking the wheel's letter and button 1 removing one.
void keyboard_edit_step(std::string& name);
void joypad_edit_step(std::string& name);
// Holds the game for the edit pause, which also sets the repeat rate.
void edit_pause();
