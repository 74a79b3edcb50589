// The media services: the only door from the game to the screen, sound, input,
// files, clock and threads. Everything is an integer handle; 0 means failure.
// Operations on 0 or freed handles do nothing and return 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---- start-up of the services (failures are reported by result only) ----
bool start_screen_service();   // also sets the default colour key to magenta
bool start_blended_service();
bool start_sound_service();
bool start_keyboard_service();
bool start_joypad_service();   // true when a joypad is present; may be called again
void register_decoders();      // PNG, JPEG, TIFF, TGA images and Ogg Vorbis sound
// Frees everything; safe to call twice. The frame count and the input script
// start again; the virtual clock, fake desktop and box answer stay as set.
void shutdown_media();

// ---- headless running ----
// One frame of scripted input: replaces the keyboard and joypad when a script is set.
struct input_frame {
    std::vector<int> keys;     // scan codes held
    std::string text;          // Latin-1 text typed during the frame
    bool joypad = false;       // joypad plugged in
    int axis_x = 0, axis_y = 0;
    std::vector<int> buttons;  // buttons held, numbered from 1
    bool focus_lost = false;   // the window lost the focus during the frame
};
// The script is consulted with the current frame number (flips so far).
void set_input_script(std::vector<input_frame> frames);  // empty: live devices
void set_virtual_clock(bool on);   // sleep advances the clock instead of waiting
bool virtual_clock_on();
// Keeps what every keyboard and joypad snapshot and every typed text saw, per
// frame, whatever the source (devices or script): the record replays the game.
void start_input_recording();
const std::vector<input_frame>& recorded_input();
void set_fake_desktop(int width, int height);  // 0, 0: the real desktop
void set_message_box_answer(int answer);       // the answer headless boxes give
// Tests: a pretend joypad with a standard controller mapping, as any mapped
// pad has, plugged in and pulled out as a player would; its buttons are
// pressed by their controller names ("a", "x", "start", "back").
bool plug_pretend_joypad(const std::string& name);
void unplug_pretend_joypad();
void press_pretend_joypad(const std::string& button, bool down);
bool headless();               // no real display: offscreen or dummy video driver
int frame_number();            // flips since start

// ---- desktop and window ----
struct desktop_info { int width = 0, height = 0, depth = 0, refresh = 0; };
desktop_info query_desktop();
int open_window(int width, int height, const std::string& title);  // borderless, centred
void wait_window_event(int timeout_ms);
bool pump_events();            // handles pending window events; true when the window was closed
void read_mouse();
void set_mouse_position(int x, int y);
// True once after the window lost the focus (the player switched away).
bool window_focus_lost();
// Desktop fullscreen or the borderless window; Alt+Return switches between
// them. The picture keeps the screen's proportions either way.
bool set_fullscreen(bool on);  // false when the window system refused
bool fullscreen_on();
// Where a picture of picture_w x picture_h goes in an area of area_w x
// area_h: as large as fits with its proportions kept, centred (letterbox).
struct picture_box { int x = 0, y = 0, width = 0, height = 0; };
picture_box letterbox(int area_w, int area_h, int picture_w, int picture_h);

// ---- screen ----
int open_screen(int window, int width, int height);
void clear_screen(uint32_t rgb);
void flip_screen();            // presents; caps the rate to the display when vsync is missing
int grab_sprite(int x, int y, int width, int height);  // a GPU copy: no colour key
// The frame drawn so far as a sprite, as a grab of the rectangle gives it but
// without a copy: the back buffer itself becomes the sprite, and drawing goes
// on on another whose picture is left undefined, so the caller covers all of
// it. A rectangle reaching past the screen is copied, as a grab. For a frame
// drawn back over the whole screen, changed, every frame.
int take_frame(int x, int y, int width, int height);
bool save_sprite_bmp(int sprite, const std::string& path);
void begin_draw();
void draw_box(int x, int y, int width, int height, uint32_t rgb);
void end_draw();
// Reads back the back buffer (tests and tools): RGB packed as r + 256 g + 65536 b.
uint32_t read_pixel(int x, int y);
bool save_screen_png(const std::string& path);
std::string renderer_name();

// ---- sprites ----
int load_sprite(const std::string& path, bool texture_capable);
void set_default_colour_key(uint32_t rgb);
int sprite_width(int sprite);
int sprite_height(int sprite);
bool sprite_exists(int sprite);
void free_sprite(int sprite);

// ---- blended sprites ----
int create_blended(int sprite);
void zoom_blended(int blended, int width, int height);
void rotate_blended(int blended, float degrees);     // adds to the current angle
void set_blended_angle(int blended, float degrees);
// Corners clockwise from top-left, as offsets from the drawing position; they
// replace the display box and angle until the next zoom.
void transform_blended(int blended, float x1, float y1, float x2, float y2,
                       float x3, float y3, float x4, float y4);
void draw_blended(int blended, int x, int y, int alpha = 255);
void set_blending(int source, int destination);     // factors 1..11
void set_filtering(bool smooth);
bool blended_exists(int blended);
void free_blended(int blended);
int blended_width(int blended);
int blended_height(int blended);
float blended_angle(int blended);
void begin_blended_pass();
void end_blended_pass();

// ---- sound ----
int load_sound(const std::string& path);
void play_sound(int sound, bool loop);
void stop_sound(int sound);
bool sound_exists(int sound);
void free_sound(int sound);
// Streamed music: one track plays at a time, decoded as it plays.
int load_music(const std::string& path);
void play_music_stream(int music, bool loop);
void stop_music_stream();
bool music_exists(int music);
void free_music_stream(int music);

// ---- keyboard (scan codes numbered as on a PC keyboard, set 1) ----
void snapshot_keyboard();
bool key_down(int code);       // -1: any key
bool key_released(int code);   // once, on the first snapshot after release; -1: any key
std::string typed_text();      // Latin-1, since the previous call
void enable_text_input(bool on);
// The scan code of a key by its name as the keyboard layer calls it ("Left Ctrl",
// "Up", "F12", "A"); 0 for a name it does not know or a key the game cannot see.
int scan_code_of_key(const std::string& key_name);

// ---- joypad ----
void snapshot_joypad();
int joypad_axis_x();           // -1, 0, 1
int joypad_axis_y();
bool joypad_button(int n);     // numbered from 1
std::string joypad_name();     // of the open joypad; empty when none

// ---- files and folders ("\" in paths works as "/") ----
// Text files come from modders and may be anything: a line is cut after
// text_line_limit bytes (the rest of it is skipped), and a file reads as
// ended after text_file_limit bytes, so no file can hold the game up or
// fill the memory.
constexpr int text_line_limit = 4096;
constexpr int64_t text_file_limit = 16 << 20;
std::string current_directory();
int open_read(const std::string& path);
std::string read_line(int file);
bool end_of_file(int file);
int open_read_write(const std::string& path);   // creates, never truncates
int open_append(const std::string& path);       // creates; every write goes to the end
void write_string(int file, const std::string& text);
void write_line(int file, const std::string& text);  // ends with CR LF
void close_file(int file);
long long file_size(const std::string& path);   // -1 missing, -2 folder
// Writes `bytes` as the new file `path`, all or nothing: they go to a file
// with no name in the same folder (or, where the file system has none, a
// hidden "." + name + "...partial"), and only once they are all written is it
// given its name. A crash at any moment leaves the whole file or no file of
// that name. With to_disk the bytes reach the disk first, so a power cut
// cannot leave the name on an empty file. An existing file is never touched:
// false when `path` exists already or cannot be written.
bool write_new_file(const std::string& path, const std::string& bytes, bool to_disk = true);
// Tests: the disk fills after `bytes` more bytes of new files (-1: never),
// as when it runs full in the middle of a save.
void simulate_full_disk_after(long long bytes);
// What moves when a file is written or replaced; times in ns since 1970. The
// status-change time moves even when a copy puts back an old modified time.
struct file_stamp {
    int64_t size = 0;
    int64_t modified_ns = 0;
    int64_t changed_ns = 0;
    uint64_t inode = 0;
    bool linked = false;   // a symbolic link: the target may change where no watch sees it
};
bool read_file_stamp(const std::string& path, file_stamp& stamp);   // false: missing or folder
// A count that moves whenever the file (through any of its names), its folder
// or a folder on the way to it may have changed. 0 when it cannot be watched
// (folder missing or reached through a link, network file system): then ask
// for the file's stamp each time.
uint64_t file_generation(const std::string& path);
int scan_folder(const std::string& folder, const std::string& pattern);  // sorted bytewise
bool next_entry(int scan);     // moves to the next entry, the first at the first call
std::string entry_name(int scan);
bool entry_is_folder(int scan);
void end_scan(int scan);
std::string native_path(const std::string& path);
// The player's own folder for this game (ends in "/"), made when missing;
// empty when the system has none to give.
std::string user_data_folder();
std::string program_folder();  // folder of the running program, ends in "/"
bool make_folders(const std::string& path);   // with its parents; true when there
bool change_directory(const std::string& path);

// ---- clock, threads, system ----
uint32_t milliseconds();
void sleep_ms(int ms);
int64_t local_time_now();
std::string format_date(int64_t seconds, const std::string& mask);
bool threads_available();     // false in the browser: the game runs on the page's thread
int start_thread(void (*procedure)(int), int argument);
enum { answer_ok = 1, answer_yes = 6, answer_no = 7 };
int message_box(const std::string& title, const std::string& text, bool yes_no);
std::string os_version();      // empty where the game does not care
std::string last_system_error();

// The fault hook receives the fault's description, code and address.
using fault_hook = void (*)(const char* description, int code, uintptr_t address);
void install_fault_hook(fault_hook hook);
