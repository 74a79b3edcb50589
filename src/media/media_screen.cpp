// Desktop, window, mouse and the drawing screen with its back buffer.
#include <chrono>
#include <cmath>

#include "media/media_internal.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace media {

// Every drawing call targets the back buffer; only a flip points the renderer
// at the window for a moment.
void target_back() {
    media_state& s = state();
    if (SDL_GetRenderTarget(s.renderer) != s.back) SDL_SetRenderTarget(s.renderer, s.back);
}

namespace {

#ifdef __EMSCRIPTEN__
// The browser shows the canvas only once the program hands back its thread;
// waiting for its next frame is the page's vsync.
EM_ASYNC_JS(void, wait_for_page_frame, (), {
    await new Promise(resolve => requestAnimationFrame(resolve));
});
#endif

uint32_t pack(uint8_t r, uint8_t g, uint8_t b) { return r + 256u * g + 65536u * b; }

int render_driver_index(const char* name) {
    for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && SDL_strcmp(info.name, name) == 0) return i;
    }
    return -1;
}

SDL_Renderer* create_renderer(SDL_Window* window) {
    // Asking for a driver by name turns SDL's draw batching off unless it is
    // asked for as well; without it every texture switch is a GL round trip.
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
#ifdef __EMSCRIPTEN__
    // The flip waits for the browser's frame itself; SDL's own turn after
    // each swap would hand the browser a second one.
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
#endif
    const Uint32 flags =
        SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE;
    for (const char* name : {"opengl", "opengles2"}) {
        int index = render_driver_index(name);
        if (index < 0) continue;
        if (SDL_Renderer* renderer = SDL_CreateRenderer(window, index, flags)) return renderer;
    }
    if (SDL_Renderer* renderer =
            SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE))
        return renderer;
    return SDL_CreateRenderer(window, -1, 0);
}

int display_refresh(SDL_Window* window) {
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(window);
    if (display < 0) display = 0;
    if (SDL_GetDesktopDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0)
        return mode.refresh_rate;
    return 60;
}

// Some systems grant vsync and then present at once all the same (Xvfb,
// remote desktops): a run of flips far quicker than the display refreshes
// shows it, which a working vsync never gives, and the frames are held from
// then on.
void check_vsync() {
    media_state& s = state();
    const uint32_t now = milliseconds();
    const double interval = double(now - s.last_present);
    s.last_present = now;
    s.quick_presents = interval < 750.0 / s.refresh ? s.quick_presents + 1 : 0;
    if (s.quick_presents < 30) return;
    s.vsync = false;
    std::fprintf(stderr, "renderer: vsync granted but not kept: frames held to the display's rate\n");
}

// Without vsync the game would run as fast as the machine goes, and game
// time is counted in frames: hold each frame to one display refresh.
void cap_frame_rate() {
    media_state& s = state();
    const double period = 1000.0 / s.refresh;
    const double now = milliseconds();
    if (!s.flipped) {
        s.flipped = true;
        s.last_flip = now;
        return;
    }
    double target = s.last_flip + period;
    if (now < target) {
        sleep_ms(static_cast<int>(std::ceil(target - now - 1e-6)));
        s.last_flip = target;   // keep the fraction, so 60 Hz gives 16, 17, 17 ms
    } else if (now - target > period) {
        s.last_flip = now;      // fell far behind: start again rather than rush
    } else {
        s.last_flip = target;
    }
}

SDL_Surface* read_back(SDL_Texture* texture, int x, int y, int width, int height) {
    media_state& s = state();
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32,
                                                          SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return nullptr;
    SDL_Texture* old = SDL_GetRenderTarget(s.renderer);
    SDL_SetRenderTarget(s.renderer, texture);
    SDL_Rect rect{x, y, width, height};
    int failed = SDL_RenderReadPixels(s.renderer, &rect, SDL_PIXELFORMAT_ARGB8888,
                                      surface->pixels, surface->pitch);
    SDL_SetRenderTarget(s.renderer, old);
    if (failed) {
        SDL_FreeSurface(surface);
        return nullptr;
    }
    return surface;
}

// Saved images carry no alpha: the back buffer is opaque and BMP readers
// disagree about 32-bit files.
SDL_Surface* without_alpha(SDL_Surface* surface) {
    return SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGB24, 0);
}

}  // namespace

void close_screen_objects() {
    media_state& s = state();
    if (s.mouse_grabbed && s.window) {
        SDL_SetWindowGrab(s.window, SDL_FALSE);
        SDL_ShowCursor(SDL_ENABLE);
    }
    s.mouse_grabbed = false;
    if (s.back) SDL_DestroyTexture(s.back);
    if (s.renderer) SDL_DestroyRenderer(s.renderer);
    s.back = nullptr;
    s.renderer = nullptr;
    s.windows.each([](window_record& record) { SDL_DestroyWindow(record.window); });
    s.windows.clear();
    s.screens.clear();
    s.window = nullptr;
    s.screen_width = s.screen_height = 0;
    s.renderer_name.clear();
    s.vsync = s.custom_blend = s.flipped = s.pass_open = s.show = s.gl_renderer = false;
    s.gl_flush = nullptr;
    s.saved_target = nullptr;
}

}  // namespace media

using namespace media;

desktop_info query_desktop() {
    media_state& s = state();
    desktop_info info;
    if (s.fake_desktop) {
        info.width = s.fake_width;
        info.height = s.fake_height;
        info.depth = 32;
        info.refresh = 60;
        return info;
    }
#ifdef __EMSCRIPTEN__
    // The page scales the picture to the browser's window, so the game draws
    // at the size it was made for, as on any desktop larger than that.
    if (s.video) {
        info.width = 7680;
        info.height = 4320;
        info.depth = 32;
        return info;
    }
#endif
    SDL_DisplayMode mode;
    if (!s.video || SDL_GetDesktopDisplayMode(0, &mode) != 0) return info;
    info.width = mode.w;
    info.height = mode.h;
    info.depth = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
    info.refresh = mode.refresh_rate;   // 0 when the system does not say
    return info;
}

int open_window(int width, int height, const std::string& title) {
    media_state& s = state();
    if (!s.video || width <= 0 || height <= 0) return 0;
    SDL_Window* window =
        SDL_CreateWindow(latin1_to_utf8(title).c_str(), SDL_WINDOWPOS_CENTERED,
                         SDL_WINDOWPOS_CENTERED, width, height,
                         SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
    if (!window) return 0;
    s.window = window;
    return s.windows.add({window});
}

void wait_window_event(int timeout_ms) {
    // Called from the window event thread. SDL wants its events pumped on the
    // main thread, which flip_screen and pump_events do, so there is nothing
    // left for this thread but to wait.
    if (timeout_ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(timeout_ms));
}

bool pump_events() {
    pump_sdl_events();
    return state().closed;
}

void read_mouse() {
    media_state& s = state();
    if (!s.window) return;
    int x, y;
    SDL_GetMouseState(&x, &y);
    bool focus = (SDL_GetWindowFlags(s.window) & SDL_WINDOW_INPUT_FOCUS) != 0;
    if (focus != s.mouse_grabbed) {
        SDL_SetWindowGrab(s.window, focus ? SDL_TRUE : SDL_FALSE);
        SDL_ShowCursor(focus ? SDL_DISABLE : SDL_ENABLE);
        s.mouse_grabbed = focus;
    }
}

void set_mouse_position(int x, int y) {
    media_state& s = state();
    if (s.window) SDL_WarpMouseInWindow(s.window, x, y);
}

int open_screen(int window, int width, int height) {
    media_state& s = state();
    window_record* record = s.windows.find(window);
    // One screen at a time: every texture belongs to its renderer.
    if (!record || s.renderer || width <= 0 || height <= 0) return 0;
    SDL_Renderer* renderer = create_renderer(record->window);
    if (!renderer) return 0;
    SDL_RendererInfo info;
    SDL_GetRendererInfo(renderer, &info);
    SDL_Texture* back = nullptr;
    if (info.flags & SDL_RENDERER_TARGETTEXTURE)
        back = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                 width, height);
    if (!back) {
        SDL_DestroyRenderer(renderer);
        return 0;
    }
    s.window = record->window;
    s.renderer = renderer;
    s.back = back;
    s.screen_width = width;
    s.screen_height = height;
    s.renderer_name = info.name;
    s.vsync = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
#ifdef __EMSCRIPTEN__
    s.vsync = true;   // each flip waits for the browser's next frame
#endif
    s.flipped = false;
    s.quick_presents = 0;
    s.refresh = display_refresh(s.window);
    s.show = !headless();
    s.gl_flush = nullptr;
    s.gl_renderer = SDL_strncmp(info.name, "opengl", 6) == 0;
    if (!s.show && s.gl_renderer)
        s.gl_flush = reinterpret_cast<void (*)()>(SDL_GL_GetProcAddress("glFlush"));

    SDL_BlendMode probe = SDL_ComposeCustomBlendMode(
        SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_SRC_ALPHA, SDL_BLENDOPERATION_ADD,
        SDL_BLENDFACTOR_ZERO, SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_ADD);
    s.custom_blend = SDL_SetTextureBlendMode(back, probe) == 0;
    SDL_SetTextureBlendMode(back, SDL_BLENDMODE_NONE);
    set_blending(s.blend_source, s.blend_destination);

    std::fprintf(stderr, "renderer: %s%s%s\n", info.name,
                 s.custom_blend ? "" : " (built-in blend modes only)",
                 s.vsync ? ", vsync" : ", no vsync: frames held to the display's rate");
    SDL_SetRenderTarget(renderer, back);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    return s.screens.add(window);
}

void clear_screen(uint32_t rgb) {
    media_state& s = state();
    if (!s.renderer) return;
    target_back();
    SDL_SetRenderDrawColor(s.renderer, rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF, 255);
    SDL_RenderClear(s.renderer);
}

void flip_screen() {
    media_state& s = state();
    if (!s.renderer) return;
    if (s.show) {
        SDL_SetRenderTarget(s.renderer, nullptr);
        // Fullscreen, or a window the system made another size: the picture
        // keeps its proportions, with black bars beside or above it.
        int area_w = 0, area_h = 0;
        SDL_GetRendererOutputSize(s.renderer, &area_w, &area_h);
        const picture_box box = letterbox(area_w, area_h, s.screen_width, s.screen_height);
        const SDL_Rect target{box.x, box.y, box.width, box.height};
        SDL_SetRenderDrawColor(s.renderer, 0, 0, 0, 255);
        SDL_RenderClear(s.renderer);
        const bool scaled = box.width != s.screen_width || box.height != s.screen_height;
        if (scaled) SDL_SetTextureScaleMode(s.back, SDL_ScaleModeLinear);
        SDL_RenderCopy(s.renderer, s.back, nullptr, &target);
        SDL_RenderPresent(s.renderer);
#ifdef __EMSCRIPTEN__
        wait_for_page_frame();
#endif
        // The game's own copies of the back buffer (grabs) stay exact.
        if (scaled) SDL_SetTextureScaleMode(s.back, SDL_ScaleModeNearest);
        SDL_SetRenderTarget(s.renderer, s.back);
    } else {
        // Headless nobody sees the window, and with Mesa's software GL the copy
        // and present cost ~10 ms a frame. The frame's drawing must still be
        // carried out, or the GL driver keeps piling it up in memory.
        SDL_RenderFlush(s.renderer);
        if (s.gl_flush) s.gl_flush();
    }
    ++s.flush_period;
    ++frames;
    pump_sdl_events();
    if (s.vsync && s.show) check_vsync();
    if (!s.vsync || !s.show) cap_frame_rate();
}

int grab_sprite(int x, int y, int width, int height) {
    media_state& s = state();
    if (!s.renderer || width <= 0 || height <= 0) return 0;
    // A GPU copy: the full-screen pass grabs every frame, and reading the
    // pixels back would stall the pipeline each time. Grabs carry no colour
    // key for that reason; the back buffer is opaque.
    gpu_texture gpu;
    if (s.spare_grab.width == width && s.spare_grab.height == height) {
        gpu = s.spare_grab;   // cleared and copied over below
    } else {
        if (s.spare_grab.texture) SDL_DestroyTexture(s.spare_grab.texture);
        s.spare_grab = {};
        SDL_Texture* made = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_ARGB8888,
                                              SDL_TEXTUREACCESS_TARGET, width, height);
        if (!made) return 0;
        gpu = wrap_texture(made);
    }
    s.spare_grab = {};
    SDL_Texture* texture = gpu.texture;
    SDL_SetRenderTarget(s.renderer, texture);
    SDL_SetRenderDrawColor(s.renderer, 0, 0, 0, 255);
    SDL_RenderClear(s.renderer);
    SDL_Rect source{x, y, width, height};
    SDL_Rect destination{0, 0, width, height};
    SDL_RenderCopy(s.renderer, s.back, &source, &destination);
    SDL_SetRenderTarget(s.renderer, s.back);
    sprite_record record;
    record.own = gpu;
    record.source = {0, 0, width, height};
    record.width = width;
    record.height = height;
    record.solid = true;
    return s.sprites.add(std::move(record));
}

int take_frame(int x, int y, int width, int height) {
    media_state& s = state();
    if (!s.renderer || width <= 0 || height <= 0) return 0;
    // A grab of a rectangle reaching past the screen stretches the part on
    // the screen over the whole grab, with the back buffer's point filter,
    // and drawing the grab filters it once more: only a copy gives that.
    const SDL_Rect source{x, y, width, height};
    const SDL_Rect screen{0, 0, s.screen_width, s.screen_height};
    SDL_Rect inside;
    if (!SDL_IntersectRect(&source, &screen, &inside)) return 0;
    if (!SDL_RectEquals(&source, &inside)) return grab_sprite(x, y, width, height);
    gpu_texture next = s.spare_back;
    s.spare_back = {};
    if (!next.texture) {
        SDL_Texture* made = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_ARGB8888,
                                              SDL_TEXTUREACCESS_TARGET, s.screen_width,
                                              s.screen_height);
        if (!made) return 0;
        next = wrap_texture(made);
    }
    // The back buffer is copied exactly by grabs and the flip.
    use_filter(next, SDL_ScaleModeNearest);
    SDL_SetTextureBlendMode(next.texture, SDL_BLENDMODE_NONE);
    sprite_record record;
    record.own = wrap_texture(s.back);
    record.solid = true;
    record.source = source;
    record.width = width;
    record.height = height;
    if (s.saved_target == s.back) s.saved_target = next.texture;
    s.back = next.texture;
    SDL_SetRenderTarget(s.renderer, s.back);
    return s.sprites.add(std::move(record));
}

bool save_sprite_bmp(int sprite, const std::string& path) {
    media_state& s = state();
    sprite_record* record = s.sprites.find(sprite);
    if (!record) return false;
    SDL_Surface* source = record->surface;
    SDL_Surface* read = nullptr;
    if (!source) {
        if (!s.renderer || !record->own.texture) return false;
        read = read_back(record->own.texture, 0, 0, record->width, record->height);
        if (!read) return false;
        source = read;
    }
    SDL_Surface* plain = without_alpha(source);
    bool saved = plain && SDL_SaveBMP(plain, native_path(path).c_str()) == 0;
    SDL_FreeSurface(plain);
    SDL_FreeSurface(read);
    return saved;
}

void begin_draw() {
    if (state().renderer) target_back();
}

void draw_box(int x, int y, int width, int height, uint32_t rgb) {
    media_state& s = state();
    if (!s.renderer) return;
    target_back();
    SDL_SetRenderDrawBlendMode(s.renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(s.renderer, rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF, 255);
    SDL_Rect rect{x, y, width, height};
    SDL_RenderFillRect(s.renderer, &rect);
}

void end_draw() {
    if (state().renderer) target_back();
}

uint32_t read_pixel(int x, int y) {
    media_state& s = state();
    if (!s.renderer || x < 0 || y < 0 || x >= s.screen_width || y >= s.screen_height) return 0;
    SDL_Surface* pixel = read_back(s.back, x, y, 1, 1);
    if (!pixel) return 0;
    uint32_t value = *static_cast<uint32_t*>(pixel->pixels);
    SDL_FreeSurface(pixel);
    return pack((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

bool save_screen_png(const std::string& path) {
    media_state& s = state();
    if (!s.renderer) return false;
    SDL_Surface* screen = read_back(s.back, 0, 0, s.screen_width, s.screen_height);
    if (!screen) return false;
    SDL_Surface* plain = without_alpha(screen);
    bool saved = plain && IMG_SavePNG(plain, native_path(path).c_str()) == 0;
    SDL_FreeSurface(plain);
    SDL_FreeSurface(screen);
    if (saved) keep_saved_files();
    return saved;
}

std::string renderer_name() { return state().renderer_name; }
