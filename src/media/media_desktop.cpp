// What makes the game a desktop program: fullscreen and the letterbox, and
// the folders it lives in.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "media/media_internal.h"

namespace media {

namespace {

constexpr int return_key = 0x1C, left_alt = 0x38, right_alt = 0xB8;

}  // namespace

void take_window_keys(std::array<uint8_t, 256>& keys) {
    media_state& s = state();
    if (s.swallow_return) {
        if (keys[return_key])
            keys[return_key] = 0;
        else
            s.swallow_return = false;
        return;
    }
    if (keys[return_key] && (keys[left_alt] || keys[right_alt]) && !s.previous_keys[return_key]) {
        set_fullscreen(!s.fullscreen);
        keys[return_key] = 0;
        s.swallow_return = true;
    }
}

}  // namespace media

using namespace media;

bool set_fullscreen(bool on) {
    media_state& s = state();
    if (!s.window) return false;
    if (SDL_SetWindowFullscreen(s.window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        std::fprintf(stderr, "fullscreen: %s\n", SDL_GetError());
        return false;
    }
    s.fullscreen = on;
    return true;
}

bool fullscreen_on() { return state().fullscreen; }

picture_box letterbox(int area_w, int area_h, int picture_w, int picture_h) {
    if (area_w <= 0 || area_h <= 0 || picture_w <= 0 || picture_h <= 0)
        return {0, 0, std::max(area_w, 0), std::max(area_h, 0)};
    picture_box box;
    // Compare the proportions in 64 bits: no rounding decides the side.
    if (int64_t(area_w) * picture_h <= int64_t(area_h) * picture_w) {
        box.width = area_w;
        box.height = int((int64_t(area_w) * picture_h * 2 + picture_w) / (2 * int64_t(picture_w)));
    } else {
        box.height = area_h;
        box.width = int((int64_t(area_h) * picture_w * 2 + picture_h) / (2 * int64_t(picture_h)));
    }
    box.x = (area_w - box.width) / 2;
    box.y = (area_h - box.height) / 2;
    return box;
}

std::string user_data_folder() {
    // On Linux $XDG_DATA_HOME/zorbel/, else ~/.local/share/zorbel/.
    char* path = SDL_GetPrefPath("", "zorbel");
    if (!path) return "";
    std::string folder = path;
    SDL_free(path);
    return folder;
}

std::string program_folder() {
    char* path = SDL_GetBasePath();
    if (!path) return "";
    std::string folder = path;
    SDL_free(path);
    return folder;
}

bool make_folders(const std::string& path) {
    const std::string native = native_path(path);
    for (size_t at = 1; at <= native.size(); ++at) {
        if (at < native.size() && native[at] != '/') continue;
        const std::string part = native.substr(0, at);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    struct stat info;
    return stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool change_directory(const std::string& path) { return chdir(native_path(path).c_str()) == 0; }

namespace {
int pretend_joypad = -1;   // device index of the attached virtual pad
}

bool plug_pretend_joypad(const std::string& name) {
    // Headless windows never have the focus, and SDL drops pad input then.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    start_joypad_service();   // the joypad service up, as at start-up
    if (pretend_joypad >= 0 || !state().joystick) return false;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = name.c_str();
    pretend_joypad = SDL_JoystickAttachVirtualEx(&desc);
    pump_sdl_events();   // its plug-in event opens it, as for a real pad
    return pretend_joypad >= 0;
}

void unplug_pretend_joypad() {
    if (pretend_joypad < 0) return;
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickIsVirtual(i)) SDL_JoystickDetachVirtual(i);
    pretend_joypad = -1;
    pump_sdl_events();
}

void press_pretend_joypad(const std::string& button, bool down) {
    media_state& s = state();
    if (pretend_joypad < 0 || !s.joystick_device) return;
    // The pretend pad's mapping gives controller button n to its button n.
    const SDL_GameControllerButton which = SDL_GameControllerGetButtonFromString(button.c_str());
    if (which == SDL_CONTROLLER_BUTTON_INVALID) return;
    SDL_JoystickSetVirtualButton(s.joystick_device, which, down ? SDL_PRESSED : SDL_RELEASED);
    SDL_JoystickUpdate();
}
