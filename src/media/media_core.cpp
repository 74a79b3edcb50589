// Start-up and shutdown of the services, headless settings and the event pump.
#include <cstdlib>
#include <cstring>

#include "media/media_internal.h"

namespace media {

media_state& state() {
    static media_state s;
    return s;
}

std::atomic<int> frames{0};

namespace {
std::atomic<std::thread::id> main_thread{};
}

void claim_main_thread() {
    std::thread::id none{};
    main_thread.compare_exchange_strong(none, std::this_thread::get_id());
}

bool on_main_thread() {
    std::thread::id owner = main_thread.load();
    return owner == std::thread::id{} || owner == std::this_thread::get_id();
}

bool script_on() { return !state().script.empty(); }

const input_frame* script_frame() {
    const auto& script = state().script;
    int frame = frames.load();
    if (frame < 0 || frame >= static_cast<int>(script.size())) return nullptr;
    return &script[static_cast<size_t>(frame)];
}

std::string latin1_to_utf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf8_to_latin1(const std::string& text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        uint32_t code;
        size_t length;
        if (c < 0x80) {
            code = c, length = 1;
        } else if ((c & 0xE0) == 0xC0) {
            code = c & 0x1F, length = 2;
        } else if ((c & 0xF0) == 0xE0) {
            code = c & 0x0F, length = 3;
        } else if ((c & 0xF8) == 0xF0) {
            code = c & 0x07, length = 4;
        } else {
            ++i;   // stray continuation byte
            continue;
        }
        if (i + length > text.size()) break;
        bool valid = true;
        for (size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) valid = false;
            code = (code << 6) | (next & 0x3F);
        }
        i += valid ? length : 1;
        if (valid && code <= 0xFF) out += static_cast<char>(code);
    }
    return out;
}

void pump_sdl_events() {
    media_state& s = state();
    if (!s.video || !on_main_thread()) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT:
            s.closed = true;
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) s.closed = true;
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) s.focus_lost = true;
            break;
        // One character per key: the text of a held key's repeats is dropped.
        case SDL_KEYDOWN:
            s.key_repeating = event.key.repeat != 0;
            break;
        case SDL_TEXTINPUT:
            if (!s.key_repeating) s.typed += utf8_to_latin1(event.text.text);
            break;
        // Joystick events cover game controllers too; handling only these keeps
        // one plug-in from being seen twice.
        case SDL_JOYDEVICEADDED:
            joypad_device_added(event.jdevice.which);   // a device index here
            break;
        case SDL_JOYDEVICEREMOVED:
            joypad_device_removed(event.jdevice.which);  // an instance id here
            break;
        default:
            break;
        }
    }
}

}  // namespace media

using namespace media;

bool start_screen_service() {
    media_state& s = state();
    claim_main_thread();
    if (!s.video) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
        s.video = true;
        // Name entry turns text input on when it needs it; left on, some systems
        // show an on-screen keyboard or an input method window.
        SDL_StopTextInput();
    }
    s.colour_key_set = true;
    s.colour_key = 0xFF00FF;
    return true;
}

bool start_blended_service() {
    // Blended sprites need nothing beyond the renderer of the screen.
    return state().video;
}

bool start_sound_service() {
    media_state& s = state();
    claim_main_thread();
    if (s.audio) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(32);
    s.audio = true;
    return true;
}

bool start_keyboard_service() {
    media_state& s = state();
    claim_main_thread();
    s.keys.fill(0);
    s.previous_keys.fill(0);
    if (s.video) SDL_StopTextInput();
    return s.video || script_on();
}

void register_decoders() {
    media_state& s = state();
    if (!s.images) {
        IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG | IMG_INIT_TIF);
        s.images = true;
    }
    if (!s.mixer_decoders) {
        Mix_Init(MIX_INIT_OGG);
        s.mixer_decoders = true;
    }
}

void shutdown_media() {
    media_state& s = state();
    close_sound_objects();
    close_sprite_objects();
    close_screen_objects();
    close_input_devices();
    close_file_objects();
    if (s.audio) {
        Mix_CloseAudio();
        s.audio = false;
    }
    if (s.mixer_decoders) {
        Mix_Quit();
        s.mixer_decoders = false;
    }
    if (s.images) {
        IMG_Quit();
        s.images = false;
    }
    SDL_Quit();   // safe when nothing was started
    s.video = s.joystick = false;

    // The frame count restarts, so a script written against it goes too.
    // How the process runs (virtual clock, fake desktop, box answer) stays.
    s.script.clear();
    s.script_text_frame = 0;
    s.script_focus_frame = 0;
    s.focus_lost = s.fullscreen = s.swallow_return = false;
    s.keys.fill(0);
    s.previous_keys.fill(0);
    s.typed.clear();
    s.closed = false;
    s.colour_key_set = false;
    s.blend_source = 5, s.blend_destination = 6;
    s.blend_mode = SDL_BLENDMODE_BLEND;
    s.holes_visible = false;
    s.scale_mode = SDL_ScaleModeNearest;
    frames = 0;
}

void set_input_script(std::vector<input_frame> frames_of_script) {
    state().script = std::move(frames_of_script);
    state().script_text_frame = 0;
    state().script_focus_frame = 0;
}

void set_fake_desktop(int width, int height) {
    media_state& s = state();
    s.fake_desktop = width > 0 && height > 0;
    s.fake_width = width;
    s.fake_height = height;
}

void set_message_box_answer(int answer) { state().message_answer = answer; }

bool headless() {
    const char* driver = nullptr;
    if (state().video) {
        driver = SDL_GetCurrentVideoDriver();
    } else {
        driver = std::getenv("SDL_VIDEODRIVER");
        if (!driver && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return true;
    }
    if (!driver) return false;
    return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

int frame_number() { return frames.load(); }
