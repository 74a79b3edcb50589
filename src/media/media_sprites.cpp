// Sprites (images with a colour key) and blended sprites (textured quads).
#include <cmath>

#include "media/media_internal.h"

namespace media {

namespace {

uint32_t key_as_argb(uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// The colour key becomes alpha 0. Invisible texels are made black too, so
// smoothing never bleeds the key colour (magenta fringes) into edges. Notes
// whether some texel is invisible and whether all are opaque.
void apply_colour_key(sprite_record& sprite) {
    media_state& s = state();
    SDL_Surface* surface = sprite.surface;
    const uint32_t key = key_as_argb(s.colour_key);
    bool holes = false, solid = true;
    SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) +
                                                y * surface->pitch);
        for (int x = 0; x < surface->w; ++x) {
            uint32_t& texel = row[x];
            if ((s.colour_key_set && (texel & 0xFFFFFF) == key) || (texel >> 24) == 0) {
                texel = 0;
                holes = true;
            }
            solid = solid && (texel >> 24) == 0xFF;
        }
    }
    SDL_UnlockSurface(surface);
    sprite.has_holes = holes;
    sprite.solid = solid;
}

// The texture a sprite draws from, made on first use: a place on an atlas
// page when the sprite is small, else a texture of its own.
gpu_texture* texture_of(sprite_record& sprite) {
    if (sprite.page) return &sprite.page->gpu;
    if (sprite.own.texture) return &sprite.own;
    media_state& s = state();
    if (!sprite.surface || !s.renderer) return nullptr;
    if (place_on_page(sprite)) return &sprite.page->gpu;
    SDL_Texture* texture = SDL_CreateTextureFromSurface(s.renderer, sprite.surface);
    if (!texture) return nullptr;
    sprite.own = wrap_texture(texture);
    sprite.source = {0, 0, sprite.width, sprite.height};
    return &sprite.own;
}

// Rectangles of texels covering every visible texel of the sprite: runs of
// each row, stacked while the next row has a run with the same ends.
void find_opaque_rects(sprite_record& sprite) {
    sprite.opaque.clear();
    sprite.rects_ready = true;
    SDL_Surface* surface = sprite.surface;
    if (!surface) return;
    std::vector<size_t> open, still_open;
    SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; ++y) {
        auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) +
                                                      y * surface->pitch);
        still_open.clear();
        size_t next_open = 0;
        int x = 0;
        while (x < surface->w) {
            if ((row[x] >> 24) == 0) {
                ++x;
                continue;
            }
            int start = x;
            while (x < surface->w && (row[x] >> 24) != 0) ++x;
            while (next_open < open.size() && sprite.opaque[open[next_open]].x < start) ++next_open;
            if (next_open < open.size()) {
                SDL_Rect& above = sprite.opaque[open[next_open]];
                if (above.x == start && above.w == x - start) {
                    ++above.h;
                    still_open.push_back(open[next_open]);
                    continue;
                }
            }
            sprite.opaque.push_back({start, y, x - start, 1});
            still_open.push_back(sprite.opaque.size() - 1);
        }
        open.swap(still_open);
    }
    SDL_UnlockSurface(surface);
}

SDL_BlendFactor factor(int number) {
    switch (number) {
    case 1: return SDL_BLENDFACTOR_ZERO;
    case 2: return SDL_BLENDFACTOR_ONE;
    case 3: return SDL_BLENDFACTOR_SRC_COLOR;
    case 4: return SDL_BLENDFACTOR_ONE_MINUS_SRC_COLOR;
    case 5: return SDL_BLENDFACTOR_SRC_ALPHA;
    case 6: return SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA;
    case 7: return SDL_BLENDFACTOR_DST_ALPHA;
    case 8: return SDL_BLENDFACTOR_ONE_MINUS_DST_ALPHA;
    case 9: return SDL_BLENDFACTOR_DST_COLOR;
    case 10: return SDL_BLENDFACTOR_ONE_MINUS_DST_COLOR;
    // Source alpha saturated, min(As, 1 - Ad), has no SDL factor: source alpha
    // is the nearest one there is.
    default: return SDL_BLENDFACTOR_SRC_ALPHA;
    }
}

// The software renderer refuses custom modes: the pairs the game uses get
// the built-in mode that looks the same, everything else normal blending.
SDL_BlendMode built_in_mode(int source, int destination) {
    if (source == 5 && destination == 6) return SDL_BLENDMODE_BLEND;
    if ((source == 2 && destination == 5) || (source == 5 && destination == 2) ||
        (source == 2 && destination == 2))
        return SDL_BLENDMODE_ADD;
    if ((source == 9 && destination == 1) || (source == 1 && destination == 3))
        return SDL_BLENDMODE_MOD;
    return SDL_BLENDMODE_BLEND;
}

constexpr float large_quad_area = 256.0f * 256.0f;

// The mode for an opaque draw of a sprite whose texels are all opaque: the
// factors that read source alpha are then constants, and the blender has
// less to do. Normal blending becomes a copy, the game's light plain adding.
SDL_BlendMode solid_mode(int source, int destination, bool custom, SDL_BlendMode mode) {
    auto alpha_one = [](int f) { return f == 5 || f == 11 ? 2 : f == 6 ? 1 : f; };
    source = alpha_one(source);
    destination = alpha_one(destination);
    if (source == 2 && destination == 1) return SDL_BLENDMODE_NONE;
    if (!custom) return mode;
    return SDL_ComposeCustomBlendMode(factor(source), factor(destination), SDL_BLENDOPERATION_ADD,
                                      SDL_BLENDFACTOR_ZERO, SDL_BLENDFACTOR_ONE,
                                      SDL_BLENDOPERATION_ADD);
}

// Transparent texels are black with alpha 0. They leave the back buffer
// alone only where the destination factor is then one; elsewhere (one,
// source alpha, the game's light) they would blacken what lies beneath.
bool holes_would_show(int destination, bool custom, SDL_BlendMode mode) {
    if (!custom) return mode == SDL_BLENDMODE_MOD || mode == SDL_BLENDMODE_MUL;
    // one, inverse source colour, inverse source alpha, destination alpha (the
    // back buffer is opaque) all come to one for a black, clear texel
    return !(destination == 2 || destination == 4 || destination == 6 || destination == 7);
}

std::vector<SDL_Vertex> vertices;
std::vector<int> indices;

// Draws the sprite over a quad given by a mapping from sprite fractions
// (u, v in 0..1) to the screen, either whole or only its visible rectangles.
// Texture coordinates are those of the sprite's texels on its texture.
template <class Mapping>
void draw_mapped(const sprite_record& sprite, const gpu_texture& gpu, bool only_opaque,
                 int alpha, Mapping map) {
    vertices.clear();
    indices.clear();
    const SDL_Color colour{255, 255, 255, static_cast<Uint8>(alpha)};
    const float w = static_cast<float>(sprite.width), h = static_cast<float>(sprite.height);
    const float tw = static_cast<float>(gpu.width), th = static_cast<float>(gpu.height);
    const float sx = static_cast<float>(sprite.source.x), sy = static_cast<float>(sprite.source.y);
    // corners in texels of the sprite
    auto quad = [&](int x0, int y0, int x1, int y1) {
        int first = static_cast<int>(vertices.size());
        const int xs[4] = {x0, x1, x1, x0};
        const int ys[4] = {y0, y0, y1, y1};
        for (int k = 0; k < 4; ++k)
            vertices.push_back({map(xs[k] / w, ys[k] / h), colour,
                                {(sx + static_cast<float>(xs[k])) / tw,
                                 (sy + static_cast<float>(ys[k])) / th}});
        for (int k : {0, 1, 2, 0, 2, 3}) indices.push_back(first + k);
    };
    if (only_opaque) {
        for (const SDL_Rect& r : sprite.opaque) quad(r.x, r.y, r.x + r.w, r.y + r.h);
    } else {
        quad(0, 0, sprite.width, sprite.height);
    }
    if (vertices.empty()) return;
    SDL_RenderGeometry(state().renderer, gpu.texture, vertices.data(),
                       static_cast<int>(vertices.size()), indices.data(),
                       static_cast<int>(indices.size()));
}

float wrap_angle(float degrees) {
    float angle = std::fmod(degrees, 360.0f);
    return angle < 0 ? angle + 360.0f : angle;
}

}  // namespace

// Sets the filter a texture's following draws get. SDL 2.26 would apply it to
// draws of the texture still waiting in the queue too, so those go out first.
// Its GL renderers bind the texture to set the filter without telling their
// state cache: a queued draw of the texture bound before would take this
// one's texels.
void use_filter(gpu_texture& gpu, SDL_ScaleMode mode) {
    media_state& s = state();
    if (gpu.scale == mode) return;
    if (gpu.queued_in == s.flush_period) flush_draws();
    SDL_SetTextureScaleMode(gpu.texture, mode);
    if (s.gl_renderer) SDL_GL_UnbindTexture(gpu.texture);
    gpu.scale = mode;
}

gpu_texture wrap_texture(SDL_Texture* texture) {
    gpu_texture gpu;
    gpu.texture = texture;
    SDL_QueryTexture(texture, nullptr, nullptr, &gpu.width, &gpu.height);
    // New textures take the filter of SDL's hint, which the environment may set.
    SDL_GetTextureScaleMode(texture, &gpu.scale);
    return gpu;
}

void flush_draws() {
    media_state& s = state();
    if (s.renderer) SDL_RenderFlush(s.renderer);
    ++s.flush_period;
}

void close_sprite_objects() {
    media_state& s = state();
    s.sprites.each([](sprite_record& sprite) {
        if (sprite.own.texture) SDL_DestroyTexture(sprite.own.texture);
        if (sprite.surface) SDL_FreeSurface(sprite.surface);
    });
    for (gpu_texture* spare : {&s.spare_grab, &s.spare_back}) {
        if (spare->texture) SDL_DestroyTexture(spare->texture);
        *spare = {};
    }
    s.sprites.clear();
    s.blended.clear();
    close_pages();
}

}  // namespace media

using namespace media;

int load_sprite(const std::string& path, bool texture_capable) {
    media_state& s = state();
    SDL_Surface* loaded = IMG_Load(native_path(path).c_str());
    if (!loaded) return 0;
    SDL_Surface* surface = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!surface) return 0;
    sprite_record sprite;
    sprite.surface = surface;
    sprite.width = surface->w;
    sprite.height = surface->h;
    apply_colour_key(sprite);
    // Other sprites get their texture on first use; these are about to be drawn.
    if (texture_capable) texture_of(sprite);
    return s.sprites.add(std::move(sprite));
}

void set_default_colour_key(uint32_t rgb) {
    media_state& s = state();
    s.colour_key_set = true;
    s.colour_key = rgb & 0xFFFFFF;
}

int sprite_width(int sprite) {
    sprite_record* record = state().sprites.find(sprite);
    return record ? record->width : 0;
}

int sprite_height(int sprite) {
    sprite_record* record = state().sprites.find(sprite);
    return record ? record->height : 0;
}

bool sprite_exists(int sprite) { return state().sprites.find(sprite) != nullptr; }

void free_sprite(int sprite) {
    media_state& s = state();
    sprite_record* record = s.sprites.find(sprite);
    if (!record) return;
    release_from_page(*record);
    // Grabs and taken frames come again at the same size, often every frame;
    // a texture made afresh costs more than a copy.
    const gpu_texture& own = record->own;
    const bool back_sized = own.width == s.screen_width && own.height == s.screen_height;
    if (!record->surface && own.texture && back_sized && !s.spare_back.texture)
        s.spare_back = own;
    else if (!record->surface && own.texture && !back_sized && !s.spare_grab.texture)
        s.spare_grab = own;
    else if (own.texture)
        SDL_DestroyTexture(own.texture);
    if (record->surface) SDL_FreeSurface(record->surface);
    s.sprites.erase(sprite);
}

int create_blended(int sprite) {
    media_state& s = state();
    sprite_record* record = s.sprites.find(sprite);
    if (!record) return 0;
    texture_of(*record);
    blended_record blended;
    blended.sprite = sprite;
    blended.width = static_cast<float>(record->width);
    blended.height = static_cast<float>(record->height);
    return s.blended.add(blended);
}

void zoom_blended(int blended, int width, int height) {
    blended_record* record = state().blended.find(blended);
    if (!record) return;
    record->width = static_cast<float>(width);
    record->height = static_cast<float>(height);
    record->free_form = false;
}

void rotate_blended(int blended, float degrees) {
    blended_record* record = state().blended.find(blended);
    if (record) record->angle = wrap_angle(record->angle + degrees);
}

void set_blended_angle(int blended, float degrees) {
    blended_record* record = state().blended.find(blended);
    if (record) record->angle = wrap_angle(degrees);
}

void transform_blended(int blended, float x1, float y1, float x2, float y2, float x3, float y3,
                       float x4, float y4) {
    blended_record* record = state().blended.find(blended);
    if (!record) return;
    record->free_form = true;
    record->corners = {SDL_FPoint{x1, y1}, SDL_FPoint{x2, y2}, SDL_FPoint{x3, y3},
                       SDL_FPoint{x4, y4}};
}

void draw_blended(int blended, int x, int y, int alpha) {
    media_state& s = state();
    if (!s.renderer) return;
    blended_record* record = s.blended.find(blended);
    if (!record) return;
    sprite_record* sprite = s.sprites.find(record->sprite);
    if (!sprite) return;
    gpu_texture* gpu = texture_of(*sprite);
    if (!gpu) return;
    SDL_Texture* texture = gpu->texture;
    alpha = alpha < 0 ? 0 : alpha > 255 ? 255 : alpha;
    // Blend mode and alpha travel with each queued draw; the filter does not.
    // The cheaper mode of opaque texels pays on large quads only: small ones
    // go out in batches, which a change of mode would break.
    const bool large = record->width * record->height >= large_quad_area;
    SDL_SetTextureBlendMode(texture, sprite->solid && alpha == 255 && large ? s.solid_blend_mode
                                                                             : s.blend_mode);
    SDL_SetTextureAlphaMod(texture, static_cast<Uint8>(alpha));
    use_filter(*gpu, s.scale_mode);
    gpu->queued_in = s.flush_period;

    const float left = static_cast<float>(x), top = static_cast<float>(y);
    const bool cut_holes = sprite->has_holes && s.holes_visible;
    if (cut_holes && !sprite->rects_ready) find_opaque_rects(*sprite);

    if (record->free_form) {
        // Corners are offsets from the drawing position, clockwise from top-left.
        const auto& c = record->corners;
        draw_mapped(*sprite, *gpu, cut_holes, alpha, [&](float u, float v) {
            float a = (1 - u) * (1 - v), b = u * (1 - v), d = u * v, e = (1 - u) * v;
            return SDL_FPoint{left + a * c[0].x + b * c[1].x + d * c[2].x + e * c[3].x,
                              top + a * c[0].y + b * c[1].y + d * c[2].y + e * c[3].y};
        });
        return;
    }
    const float w = record->width, h = record->height;
    if (!cut_holes) {
        SDL_FRect box{left, top, w, h};
        if (record->angle == 0)
            SDL_RenderCopyF(s.renderer, texture, &sprite->source, &box);
        else
            SDL_RenderCopyExF(s.renderer, texture, &sprite->source, &box, record->angle, nullptr,
                              SDL_FLIP_NONE);
        return;
    }
    // The same turn about the box centre as SDL_RenderCopyExF (clockwise on screen).
    const float radians = record->angle * static_cast<float>(M_PI) / 180.0f;
    const float cosine = std::cos(radians), sine = std::sin(radians);
    const float cx = left + w / 2, cy = top + h / 2;
    draw_mapped(*sprite, *gpu, true, alpha, [&](float u, float v) {
        float dx = u * w - w / 2, dy = v * h - h / 2;
        return SDL_FPoint{cx + dx * cosine - dy * sine, cy + dx * sine + dy * cosine};
    });
}

void set_blending(int source, int destination) {
    media_state& s = state();
    if (source < 1 || source > 11 || destination < 1 || destination > 11) return;
    s.blend_source = source;
    s.blend_destination = destination;
    if (s.custom_blend) {
        // The back buffer keeps its alpha at 255, so destination alpha stays one.
        s.blend_mode = SDL_ComposeCustomBlendMode(factor(source), factor(destination),
                                                  SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ZERO,
                                                  SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_ADD);
    } else {
        s.blend_mode = built_in_mode(source, destination);
    }
    s.solid_blend_mode = solid_mode(source, destination, s.custom_blend, s.blend_mode);
    s.holes_visible = holes_would_show(destination, s.custom_blend, s.blend_mode);
}

void set_filtering(bool smooth) {
    state().scale_mode = smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest;
}

bool blended_exists(int blended) { return state().blended.find(blended) != nullptr; }

void free_blended(int blended) { state().blended.erase(blended); }

int blended_width(int blended) {
    blended_record* record = state().blended.find(blended);
    return record ? static_cast<int>(std::lround(record->width)) : 0;
}

int blended_height(int blended) {
    blended_record* record = state().blended.find(blended);
    return record ? static_cast<int>(std::lround(record->height)) : 0;
}

float blended_angle(int blended) {
    blended_record* record = state().blended.find(blended);
    return record ? record->angle : 0.0f;
}

void begin_blended_pass() {
    media_state& s = state();
    if (!s.renderer) return;
    s.saved_target = SDL_GetRenderTarget(s.renderer);
    s.pass_open = true;
    target_back();
}

void end_blended_pass() {
    media_state& s = state();
    if (!s.renderer || !s.pass_open) return;
    s.pass_open = false;
    if (s.saved_target != s.back) SDL_SetRenderTarget(s.renderer, s.saved_target);
    s.saved_target = nullptr;
}
