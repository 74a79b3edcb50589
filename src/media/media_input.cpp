// Keyboard and joypad, from the devices or from the input script.
#include <algorithm>

#include "media/media_internal.h"

namespace media {

namespace {

// PC scan codes (set 1, as DirectInput numbers them) and the SDL key at
// the same place on the keyboard.
struct key_pair {
    int code;
    SDL_Scancode key;
};
constexpr key_pair key_map[] = {
    {0x01, SDL_SCANCODE_ESCAPE},     {0x02, SDL_SCANCODE_1},
    {0x03, SDL_SCANCODE_2},          {0x04, SDL_SCANCODE_3},
    {0x05, SDL_SCANCODE_4},          {0x06, SDL_SCANCODE_5},
    {0x07, SDL_SCANCODE_6},          {0x08, SDL_SCANCODE_7},
    {0x09, SDL_SCANCODE_8},          {0x0A, SDL_SCANCODE_9},
    {0x0B, SDL_SCANCODE_0},          {0x0C, SDL_SCANCODE_MINUS},
    {0x0D, SDL_SCANCODE_EQUALS},     {0x0E, SDL_SCANCODE_BACKSPACE},
    {0x0F, SDL_SCANCODE_TAB},        {0x10, SDL_SCANCODE_Q},
    {0x11, SDL_SCANCODE_W},          {0x12, SDL_SCANCODE_E},
    {0x13, SDL_SCANCODE_R},          {0x14, SDL_SCANCODE_T},
    {0x15, SDL_SCANCODE_Y},          {0x16, SDL_SCANCODE_U},
    {0x17, SDL_SCANCODE_I},          {0x18, SDL_SCANCODE_O},
    {0x19, SDL_SCANCODE_P},          {0x1A, SDL_SCANCODE_LEFTBRACKET},
    {0x1B, SDL_SCANCODE_RIGHTBRACKET}, {0x1C, SDL_SCANCODE_RETURN},
    {0x1D, SDL_SCANCODE_LCTRL},      {0x1E, SDL_SCANCODE_A},
    {0x1F, SDL_SCANCODE_S},          {0x20, SDL_SCANCODE_D},
    {0x21, SDL_SCANCODE_F},          {0x22, SDL_SCANCODE_G},
    {0x23, SDL_SCANCODE_H},          {0x24, SDL_SCANCODE_J},
    {0x25, SDL_SCANCODE_K},          {0x26, SDL_SCANCODE_L},
    {0x27, SDL_SCANCODE_SEMICOLON},  {0x28, SDL_SCANCODE_APOSTROPHE},
    {0x29, SDL_SCANCODE_GRAVE},      {0x2A, SDL_SCANCODE_LSHIFT},
    {0x2B, SDL_SCANCODE_BACKSLASH},  {0x2C, SDL_SCANCODE_Z},
    {0x2D, SDL_SCANCODE_X},          {0x2E, SDL_SCANCODE_C},
    {0x2F, SDL_SCANCODE_V},          {0x30, SDL_SCANCODE_B},
    {0x31, SDL_SCANCODE_N},          {0x32, SDL_SCANCODE_M},
    {0x33, SDL_SCANCODE_COMMA},      {0x34, SDL_SCANCODE_PERIOD},
    {0x35, SDL_SCANCODE_SLASH},      {0x36, SDL_SCANCODE_RSHIFT},
    {0x37, SDL_SCANCODE_KP_MULTIPLY}, {0x38, SDL_SCANCODE_LALT},
    {0x39, SDL_SCANCODE_SPACE},      {0x3A, SDL_SCANCODE_CAPSLOCK},
    {0x3B, SDL_SCANCODE_F1},         {0x3C, SDL_SCANCODE_F2},
    {0x3D, SDL_SCANCODE_F3},         {0x3E, SDL_SCANCODE_F4},
    {0x3F, SDL_SCANCODE_F5},         {0x40, SDL_SCANCODE_F6},
    {0x41, SDL_SCANCODE_F7},         {0x42, SDL_SCANCODE_F8},
    {0x43, SDL_SCANCODE_F9},         {0x44, SDL_SCANCODE_F10},
    {0x45, SDL_SCANCODE_NUMLOCKCLEAR}, {0x46, SDL_SCANCODE_SCROLLLOCK},
    {0x47, SDL_SCANCODE_KP_7},       {0x48, SDL_SCANCODE_KP_8},
    {0x49, SDL_SCANCODE_KP_9},       {0x4A, SDL_SCANCODE_KP_MINUS},
    {0x4B, SDL_SCANCODE_KP_4},       {0x4C, SDL_SCANCODE_KP_5},
    {0x4D, SDL_SCANCODE_KP_6},       {0x4E, SDL_SCANCODE_KP_PLUS},
    {0x4F, SDL_SCANCODE_KP_1},       {0x50, SDL_SCANCODE_KP_2},
    {0x51, SDL_SCANCODE_KP_3},       {0x52, SDL_SCANCODE_KP_0},
    {0x53, SDL_SCANCODE_KP_PERIOD},  {0x56, SDL_SCANCODE_NONUSBACKSLASH},
    {0x57, SDL_SCANCODE_F11},        {0x58, SDL_SCANCODE_F12},
    {0x9C, SDL_SCANCODE_KP_ENTER},   {0x9D, SDL_SCANCODE_RCTRL},
    {0xB5, SDL_SCANCODE_KP_DIVIDE},  {0xB7, SDL_SCANCODE_PRINTSCREEN},
    {0xB8, SDL_SCANCODE_RALT},       {0xC5, SDL_SCANCODE_PAUSE},
    {0xC7, SDL_SCANCODE_HOME},       {0xC8, SDL_SCANCODE_UP},
    {0xC9, SDL_SCANCODE_PAGEUP},     {0xCB, SDL_SCANCODE_LEFT},
    {0xCD, SDL_SCANCODE_RIGHT},      {0xCF, SDL_SCANCODE_END},
    {0xD0, SDL_SCANCODE_DOWN},       {0xD1, SDL_SCANCODE_PAGEDOWN},
    {0xD2, SDL_SCANCODE_INSERT},     {0xD3, SDL_SCANCODE_DELETE},
    {0xDB, SDL_SCANCODE_LGUI},       {0xDC, SDL_SCANCODE_RGUI},
    {0xDD, SDL_SCANCODE_APPLICATION},
};

// What the snapshots saw, frame by frame, while a recording runs.
bool recording = false;
std::vector<input_frame> record;

input_frame& recorded_frame() {
    size_t frame = static_cast<size_t>(std::max(frame_number(), 0));
    if (record.size() <= frame) record.resize(frame + 1);
    return record[frame];
}

void record_keys(const std::array<uint8_t, 256>& keys) {
    if (!recording) return;
    std::vector<int>& held = recorded_frame().keys;
    held.clear();
    for (size_t code = 0; code < keys.size(); ++code)
        if (keys[code]) held.push_back(static_cast<int>(code));
}

// Set once the joystick subsystem is up; the joypad watch thread reads it.
std::atomic<bool> joystick_ready{false};

constexpr int half_way = 16384;

int axis_direction(int value) { return value < -half_way ? -1 : value > half_way ? 1 : 0; }

bool device_open() { return state().joystick_device != nullptr; }

void open_device(int index) {
    media_state& s = state();
    if (SDL_IsGameController(index)) {
        s.controller = SDL_GameControllerOpen(index);
        if (s.controller) s.joystick_device = SDL_GameControllerGetJoystick(s.controller);
    }
    if (!s.joystick_device) s.joystick_device = SDL_JoystickOpen(index);
    s.joystick_id = s.joystick_device ? SDL_JoystickInstanceID(s.joystick_device) : -1;
}

void close_device() {
    media_state& s = state();
    if (s.controller)
        SDL_GameControllerClose(s.controller);   // closes its joystick as well
    else if (s.joystick_device)
        SDL_JoystickClose(s.joystick_device);
    s.controller = nullptr;
    s.joystick_device = nullptr;
    s.joystick_id = -1;
}

// A frame's text counts when a key went down in it, or when no key is held
// (a hand-written script): text while the same keys stay held is the
// system's key repeat, which types nothing.
bool typed_by_a_press(int frame) {
    const std::vector<input_frame>& script = state().script;
    const std::vector<int>& held = script[static_cast<size_t>(frame)].keys;
    if (held.empty() || frame == 0) return true;
    const std::vector<int>& before = script[static_cast<size_t>(frame - 1)].keys;
    for (int key : held)
        if (std::find(before.begin(), before.end(), key) == before.end()) return true;
    return false;
}

}  // namespace

void joypad_device_added(int device_index) {
    if (joystick_ready && !device_open()) open_device(device_index);
}

void joypad_device_removed(SDL_JoystickID id) {
    if (!device_open() || id != state().joystick_id) return;
    close_device();
    // Another pad still plugged in takes over.
    if (SDL_NumJoysticks() > 0) open_device(0);
}

void close_input_devices() {
    media_state& s = state();
    close_device();
    joystick_ready = false;
    s.axis_x = s.axis_y = 0;
    s.buttons.fill(false);
}

}  // namespace media

using namespace media;

void snapshot_keyboard() {
    media_state& s = state();
    s.previous_keys = s.keys;
    s.keys.fill(0);
    if (script_on()) {
        if (const input_frame* frame = script_frame())
            for (int code : frame->keys)
                if (code >= 0 && code < 256) s.keys[static_cast<size_t>(code)] = 1;
    } else if (s.video) {
        pump_sdl_events();
        const Uint8* held = SDL_GetKeyboardState(nullptr);
        for (const key_pair& pair : key_map)
            s.keys[static_cast<size_t>(pair.code)] = held[pair.key];
    }
    record_keys(s.keys);   // as held: a replay switches fullscreen where the game did
    take_window_keys(s.keys);
}

int scan_code_of_key(const std::string& key_name) {
    SDL_Scancode key = SDL_GetScancodeFromName(key_name.c_str());
    if (key == SDL_SCANCODE_UNKNOWN) return 0;
    for (const key_pair& pair : key_map)
        if (pair.key == key) return pair.code;
    return 0;
}

bool key_down(int code) {
    const auto& keys = state().keys;
    if (code == -1) {
        for (uint8_t key : keys)
            if (key) return true;
        return false;
    }
    return code >= 0 && code < 256 && keys[static_cast<size_t>(code)];
}

bool key_released(int code) {
    const media_state& s = state();
    auto released = [&](size_t k) { return s.previous_keys[k] && !s.keys[k]; };
    if (code == -1) {
        for (size_t k = 0; k < s.keys.size(); ++k)
            if (released(k)) return true;
        return false;
    }
    return code >= 0 && code < 256 && released(static_cast<size_t>(code));
}

std::string typed_text() {
    media_state& s = state();
    if (script_on()) {
        // Every frame's text once, however many frames passed between calls.
        std::string text;
        int last = std::min(frame_number(), static_cast<int>(s.script.size()) - 1);
        for (int f = s.script_text_frame; f <= last; ++f)
            if (typed_by_a_press(f)) text += s.script[static_cast<size_t>(f)].text;
        s.script_text_frame = std::max(s.script_text_frame, frame_number() + 1);
        if (recording) recorded_frame().text += text;
        return text;
    }
    pump_sdl_events();
    std::string text;
    text.swap(s.typed);
    if (recording) recorded_frame().text += text;
    return text;
}

bool window_focus_lost() {
    media_state& s = state();
    bool lost = false;
    if (script_on()) {
        // Every frame's loss once, however many frames passed between calls.
        int last = std::min(frame_number(), static_cast<int>(s.script.size()) - 1);
        for (int f = s.script_focus_frame; f <= last; ++f)
            lost = lost || s.script[static_cast<size_t>(f)].focus_lost;
        s.script_focus_frame = std::max(s.script_focus_frame, frame_number() + 1);
    } else {
        pump_sdl_events();
        // A loss the window already got back from (some window managers do
        // that while switching fullscreen) is no player switching away.
        lost = s.focus_lost && s.window &&
               (SDL_GetWindowFlags(s.window) & SDL_WINDOW_INPUT_FOCUS) == 0;
        s.focus_lost = false;
    }
    if (recording && lost) recorded_frame().focus_lost = true;
    return lost;
}

void start_input_recording() {
    recording = true;
    record.clear();
}

const std::vector<input_frame>& recorded_input() { return record; }

void enable_text_input(bool on) {
    media_state& s = state();
    if (!s.video) return;
    pump_sdl_events();
    s.typed.clear();   // text typed while it was off belongs to nobody
    if (on)
        SDL_StartTextInput();
    else
        SDL_StopTextInput();
}

bool start_joypad_service() {
    media_state& s = state();
    if (script_on()) {
        const input_frame* frame = script_frame();
        return frame && frame->joypad;
    }
    if (!on_main_thread()) {
        // The joypad watch thread. SDL_NumJoysticks only reads the device list
        // under SDL's joystick lock; the list itself is refreshed by the event
        // pump on the main thread, and the device is opened there too, when its
        // plug-in event arrives.
        return joystick_ready && SDL_NumJoysticks() > 0;
    }
    if (!joystick_ready) {
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
        s.joystick = true;
        joystick_ready = true;
    }
    if (!device_open() && SDL_NumJoysticks() > 0) open_device(0);
    return device_open();
}

namespace media { void read_joypad(); }

void snapshot_joypad() {
    read_joypad();
    if (!recording) return;
    const media_state& s = state();
    input_frame& frame = recorded_frame();
    frame.joypad = true;   // the game only looks at a joypad it believes present
    frame.axis_x = s.axis_x;
    frame.axis_y = s.axis_y;
    frame.buttons.clear();
    for (size_t n = 1; n < s.buttons.size(); ++n)
        if (s.buttons[n]) frame.buttons.push_back(static_cast<int>(n));
}

void media::read_joypad() {
    media_state& s = state();
    s.axis_x = s.axis_y = 0;
    s.buttons.fill(false);
    if (script_on()) {
        const input_frame* frame = script_frame();
        if (!frame || !frame->joypad) return;
        s.axis_x = std::clamp(frame->axis_x, -1, 1);
        s.axis_y = std::clamp(frame->axis_y, -1, 1);
        for (int button : frame->buttons)
            if (button >= 1 && button < static_cast<int>(s.buttons.size()))
                s.buttons[static_cast<size_t>(button)] = true;
        return;
    }
    if (s.controller) {
        SDL_GameController* pad = s.controller;
        s.axis_x = axis_direction(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX));
        s.axis_y = axis_direction(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
        // The d-pad steers as well: many pads have no stick worth the name.
        if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) s.axis_x = -1;
        if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) s.axis_x = 1;
        if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP)) s.axis_y = -1;
        if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) s.axis_y = 1;
        // Numbered as on the classic pads the game was made for.
        const SDL_GameControllerButton classic[] = {
            SDL_CONTROLLER_BUTTON_X,    SDL_CONTROLLER_BUTTON_A,
            SDL_CONTROLLER_BUTTON_B,    SDL_CONTROLLER_BUTTON_Y,
            SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER};
        for (size_t i = 0; i < 6; ++i)
            s.buttons[i + 1] = SDL_GameControllerGetButton(pad, classic[i]) != 0;
        s.buttons[7] = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT) > half_way;
        s.buttons[8] = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) > half_way;
        s.buttons[9] = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_BACK) != 0;
        s.buttons[10] = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_START) != 0;
    } else if (s.joystick_device) {
        SDL_Joystick* stick = s.joystick_device;
        s.axis_x = axis_direction(SDL_JoystickGetAxis(stick, 0));
        s.axis_y = axis_direction(SDL_JoystickGetAxis(stick, 1));
        if (SDL_JoystickNumHats(stick) > 0) {
            Uint8 hat = SDL_JoystickGetHat(stick, 0);
            if (hat & SDL_HAT_LEFT) s.axis_x = -1;
            if (hat & SDL_HAT_RIGHT) s.axis_x = 1;
            if (hat & SDL_HAT_UP) s.axis_y = -1;
            if (hat & SDL_HAT_DOWN) s.axis_y = 1;
        }
        int count = std::min(SDL_JoystickNumButtons(stick), static_cast<int>(s.buttons.size()) - 1);
        for (int n = 1; n <= count; ++n)
            s.buttons[static_cast<size_t>(n)] = SDL_JoystickGetButton(stick, n - 1) != 0;
    }
}

std::string joypad_name() {
    media_state& s = state();
    if (!s.joystick_device) return "";
    const char* name = s.controller ? SDL_GameControllerName(s.controller)
                                    : SDL_JoystickName(s.joystick_device);
    return name && *name ? utf8_to_latin1(name) : "unnamed joypad";
}

int joypad_axis_x() { return state().axis_x; }
int joypad_axis_y() { return state().axis_y; }

bool joypad_button(int n) {
    const auto& buttons = state().buttons;
    return n >= 1 && n < static_cast<int>(buttons.size()) && buttons[static_cast<size_t>(n)];
}
