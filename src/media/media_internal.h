// State shared by the media service files. Only src/media includes this.
#pragma once

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "media/media.h"

namespace media {

// Handles count up and are never given out twice, so a stale handle can
// never reach an object made later. Records live in pages of consecutive
// handles, found by index: a level adds and frees a quarter of a million
// tile sprites, which a hash map took tens of milliseconds for. A page goes
// once all its handles are given out and freed again, so memory follows
// what is alive; a page never moves, so pointers to records stay valid.
template <class T>
class handle_table {
public:
    int add(T record) {
        const int handle = next_++;
        const size_t at = page_of(handle);
        if (pages_.size() <= at) pages_.resize(at + 1);
        if (!pages_[at]) {
            pages_[at] = std::make_unique<page>();
            // The page before is given out whole now: gone if nothing in it lives.
            if (at > 0 && pages_[at - 1] && pages_[at - 1]->live == 0) pages_[at - 1].reset();
        }
        page& p = *pages_[at];
        p.slots[slot_of(handle)].emplace(std::move(record));
        ++p.live;
        return handle;
    }
    T* find(int handle) {
        std::optional<T>* slot = slot_for(handle);
        return slot && slot->has_value() ? &**slot : nullptr;
    }
    void erase(int handle) {
        std::optional<T>* slot = slot_for(handle);
        if (!slot || !slot->has_value()) return;
        slot->reset();
        const size_t at = page_of(handle);
        // The page of the next handle to give out is still being filled.
        if (--pages_[at]->live == 0 && at != page_of(next_)) pages_[at].reset();
    }
    // Calls f(record) for every live record.
    template <class F>
    void each(F&& f) {
        for (auto& p : pages_)
            if (p)
                for (auto& slot : p->slots)
                    if (slot) f(*slot);
    }
    void clear() {
        pages_.clear();
        // Handles already given out stay used: the next page starts afresh.
        next_ = int(page_of(next_) + 1) * page_size;
    }

private:
    static constexpr int page_size = 4096;
    struct page {
        std::array<std::optional<T>, page_size> slots;
        int live = 0;
    };
    static size_t page_of(int handle) { return size_t(handle / page_size); }
    static size_t slot_of(int handle) { return size_t(handle % page_size); }
    std::optional<T>* slot_for(int handle) {
        if (handle <= 0 || handle >= next_) return nullptr;
        const size_t at = page_of(handle);
        if (at >= pages_.size() || !pages_[at]) return nullptr;
        return &pages_[at]->slots[slot_of(handle)];
    }

    std::vector<std::unique_ptr<page>> pages_;
    int next_ = 1;
};

struct window_record {
    SDL_Window* window = nullptr;
};

// A texture as the draws see it. SDL 2.26 applies a texture's filter when its
// queued draws are carried out, so the filter in force and whether draws of
// it may still wait in the queue are tracked here.
struct gpu_texture {
    SDL_Texture* texture = nullptr;
    int width = 0, height = 0;
    SDL_ScaleMode scale = SDL_ScaleModeNearest;
    uint64_t queued_in = 0;           // the flush period of its last draw
};

// A shared texture holding many small sprites, packed on shelves. Every slot
// carries a border of the sprite's edge texels, so filtering and turning
// sample what the sprite's own texture would have given at its edge.
struct atlas_page {
    gpu_texture gpu;
    struct shelf {
        int y = 0, height = 0, end = 0;   // end: first free column
    };
    std::vector<shelf> shelves;
    std::vector<SDL_Rect> free_slots;  // slots of freed sprites, reused by later ones
    int sprites = 0;                   // sprites placed; the page goes at zero
};

struct sprite_record {
    SDL_Surface* surface = nullptr;   // absent for grabs, which live on the GPU only
    gpu_texture own;                  // large images and grabs; made on first use
    atlas_page* page = nullptr;       // or a place on a page, also made on first use
    SDL_Rect slot{};                  // the page area held, border included
    SDL_Rect source{};                // the sprite's texels on its texture
    int width = 0, height = 0;
    bool has_holes = false;           // some texel has alpha 0
    bool solid = false;               // every texel has alpha 255
    bool rects_ready = false;
    std::vector<SDL_Rect> opaque;     // texel rectangles covering every visible texel
};

struct blended_record {
    int sprite = 0;
    float width = 0, height = 0;
    float angle = 0;
    bool free_form = false;           // the four corners below replace zoom and angle
    std::array<SDL_FPoint, 4> corners{};
};

struct sound_record {
    Mix_Chunk* chunk = nullptr;
};

struct music_record {
    Mix_Music* music = nullptr;
};

struct file_record {
    FILE* file = nullptr;
    bool writing = false;   // last operation; C streams need a seek between read and write
    int64_t read_bytes = 0; // how far reading went, against text_file_limit
    bool changed = false;   // written to since it was opened
};

struct scan_entry {
    std::string name;
    bool folder = false;
};

struct scan_record {
    std::vector<scan_entry> entries;
    int current = -1;       // before the first entry until next_entry
};

struct thread_record {
    std::thread::id id;
};

struct media_state {
    // services up
    bool video = false, audio = false, joystick = false, images = false, mixer_decoders = false;

    // headless running
    std::vector<input_frame> script;
    bool fake_desktop = false;
    int fake_width = 0, fake_height = 0;
    int message_answer = 0;   // 0: the box's default

    // window and screen
    handle_table<window_record> windows;
    handle_table<int> screens;         // one screen at a time; the value is its window
    SDL_Window* window = nullptr;      // window of the open screen
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* back = nullptr;       // back buffer, the render target between flips
    int screen_width = 0, screen_height = 0;
    bool vsync = false;
    int refresh = 60;                  // Hz of the screen's display, 60 when unknown
    bool show = false;                 // a real display: copy to the window and present
    void (*gl_flush)() = nullptr;      // glFlush of the GL renderer, headless only
    bool custom_blend = false;         // renderer takes SDL_ComposeCustomBlendMode
    std::string renderer_name;
    double last_flip = 0;
    uint32_t last_present = 0;         // when the last flip with vsync returned
    int quick_presents = 0;            // flips in a row that came much sooner than a refresh
    bool flipped = false;
    bool closed = false;               // window closed by the user
    bool focus_lost = false;           // the window lost the focus since last asked
    int script_focus_frame = 0;        // first script frame whose focus loss is not yet taken
    bool fullscreen = false;           // desktop fullscreen rather than the window
    bool swallow_return = false;       // the Return of an Alt+Return, until let go
    bool mouse_grabbed = false;
    SDL_Texture* saved_target = nullptr;
    bool pass_open = false;

    // sprites and blending
    bool colour_key_set = false;
    uint32_t colour_key = 0;
    handle_table<sprite_record> sprites;
    handle_table<blended_record> blended;
    int blend_source = 5, blend_destination = 6;
    SDL_BlendMode blend_mode = SDL_BLENDMODE_BLEND;
    SDL_BlendMode solid_blend_mode = SDL_BLENDMODE_NONE;   // the same for opaque texels
    bool holes_visible = false;        // the current factors would draw transparent texels
    SDL_ScaleMode scale_mode = SDL_ScaleModeNearest;
    std::vector<std::unique_ptr<atlas_page>> pages;
    gpu_texture spare_grab;            // a freed grab's texture, kept for the next grab
    gpu_texture spare_back;            // a freed taken frame's texture, the next back buffer
    uint64_t flush_period = 1;         // counts the queue flushes the media layer asks for
    bool gl_renderer = false;          // its filter changes bind behind SDL's state cache

    // sound
    handle_table<sound_record> sounds;
    handle_table<music_record> music;

    // keyboard
    std::array<uint8_t, 256> keys{}, previous_keys{};
    std::string typed;                 // Latin-1 text from SDL_TEXTINPUT
    bool key_repeating = false;        // the last key event was the system's repeat
    int script_text_frame = 0;         // first script frame whose text is not yet taken

    // joypad
    SDL_GameController* controller = nullptr;
    SDL_Joystick* joystick_device = nullptr;   // the raw device, also behind a controller
    SDL_JoystickID joystick_id = -1;
    int axis_x = 0, axis_y = 0;
    std::array<bool, 33> buttons{};            // numbered from 1

    // files and threads
    handle_table<file_record> files;
    handle_table<scan_record> scans;
    handle_table<thread_record> threads;
};

media_state& state();

// Frames flipped since start; read by the joypad watch thread too.
extern std::atomic<int> frames;
// The thread that started the services: SDL calls that must stay on it check this.
bool on_main_thread();
void claim_main_thread();

// Points the renderer at the back buffer (needs a screen).
void target_back();
// Reads every pending SDL event (window, text, joypad plug-in).
void pump_sdl_events();
// The script entry for the current frame, or nullptr beyond its end.
const input_frame* script_frame();
bool script_on();

// Text at the SDL edge: the game keeps Latin-1 bytes, SDL speaks UTF-8.
std::string latin1_to_utf8(const std::string& text);
std::string utf8_to_latin1(const std::string& text);

// A texture as made by SDL: its size and the filter it came with.
gpu_texture wrap_texture(SDL_Texture* texture);

// Texture atlas: puts a sprite with a surface on a page (false when it does
// not fit one: too large, or no page can be made); gives its slot back.
bool place_on_page(sprite_record& sprite);
void release_from_page(sprite_record& sprite);
void close_pages();
// Carries out the queued draws; later filter changes no longer reach them.
void flush_draws();
// The filter the texture's following draws get.
void use_filter(gpu_texture& gpu, SDL_ScaleMode mode);

// Shutdown helpers of each file.
void close_screen_objects();
void close_sprite_objects();
void close_sound_objects();
void close_input_devices();
void close_file_objects();
// Alt+Return in a keyboard snapshot switches fullscreen; the game never
// sees that Return.
void take_window_keys(std::array<uint8_t, 256>& keys);
void joypad_device_added(int device_index);
void joypad_device_removed(SDL_JoystickID id);
// A file was saved: in the browser the player's folder is copied to the
// page's storage; elsewhere the file system keeps it already.
void keep_saved_files();

}  // namespace media
