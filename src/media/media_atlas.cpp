// Atlas pages: small sprites from files share a few large textures, so the
// tiles, objects and glyphs of a frame come from one texture and SDL batches
// their copies into a handful of GL draws. A texture switch costs more than
// the pixels of a whole glyph.
#include <algorithm>

#include "media/media_diagnostics.h"
#include "media/media_internal.h"

namespace media {

namespace {

constexpr int page_side_wanted = 2048;
constexpr int largest_packed = 256;   // larger images keep a texture of their own
constexpr int border = 2;             // edge texels repeated around each sprite

int page_side() {
    SDL_RendererInfo info;
    int side = page_side_wanted;
    if (SDL_GetRendererInfo(state().renderer, &info) == 0) {
        if (info.max_texture_width > 0) side = std::min(side, info.max_texture_width);
        if (info.max_texture_height > 0) side = std::min(side, info.max_texture_height);
    }
    return side;
}

// The sprite with its edge texels repeated all round: a clamped texture
// would sample the same beyond its edge.
std::vector<uint32_t> bordered_texels(SDL_Surface* surface) {
    const int w = surface->w, h = surface->h;
    const int wide = w + 2 * border, high = h + 2 * border;
    std::vector<uint32_t> out(static_cast<size_t>(wide * high));
    SDL_LockSurface(surface);
    for (int y = 0; y < high; ++y) {
        const int from_y = std::clamp(y - border, 0, h - 1);
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(surface->pixels) + from_y * surface->pitch);
        uint32_t* to = &out[static_cast<size_t>(y * wide)];
        for (int x = 0; x < wide; ++x) to[x] = row[std::clamp(x - border, 0, w - 1)];
    }
    SDL_UnlockSurface(surface);
    return out;
}

// A freed slot that holds the size without wasting more than half of itself:
// the player image a level set-up frees and loads again comes back to its slot.
bool take_free_slot(atlas_page& page, int w, int h, SDL_Rect& slot) {
    size_t best = page.free_slots.size();
    long best_area = 0;
    for (size_t i = 0; i < page.free_slots.size(); ++i) {
        const SDL_Rect& r = page.free_slots[i];
        const long area = static_cast<long>(r.w) * r.h;
        if (r.w < w || r.h < h || area > 2L * w * h) continue;
        if (best == page.free_slots.size() || area < best_area) {
            best = i;
            best_area = area;
        }
    }
    if (best == page.free_slots.size()) return false;
    slot = page.free_slots[best];
    page.free_slots[best] = page.free_slots.back();
    page.free_slots.pop_back();
    return true;
}

// Room at the end of the lowest fitting shelf, or a new shelf below the last.
bool take_shelf_space(atlas_page& page, int side, int w, int h, SDL_Rect& slot) {
    atlas_page::shelf* best = nullptr;
    for (atlas_page::shelf& shelf : page.shelves) {
        if (shelf.height < h || shelf.height > h + h / 2 || side - shelf.end < w) continue;
        if (!best || shelf.height < best->height) best = &shelf;
    }
    if (!best) {
        const int top = page.shelves.empty()
                            ? 0
                            : page.shelves.back().y + page.shelves.back().height;
        if (side - top < h) return false;
        page.shelves.push_back({top, h, 0});
        best = &page.shelves.back();
    }
    slot = {best->end, best->y, w, h};
    best->end += w;
    return true;
}

atlas_page* new_page(int side) {
    media_state& s = state();
    SDL_Texture* texture = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_ARGB8888,
                                             SDL_TEXTUREACCESS_STATIC, side, side);
    if (!texture) return nullptr;
    auto page = std::make_unique<atlas_page>();
    page->gpu = wrap_texture(texture);
    s.pages.push_back(std::move(page));
    return s.pages.back().get();
}

void drop_page(atlas_page* page) {
    media_state& s = state();
    SDL_DestroyTexture(page->gpu.texture);
    std::erase_if(s.pages, [page](const std::unique_ptr<atlas_page>& p) { return p.get() == page; });
}

}  // namespace

bool place_on_page(sprite_record& sprite) {
    media_state& s = state();
    if (!s.renderer || !sprite.surface) return false;
    if (sprite.width > largest_packed || sprite.height > largest_packed) return false;
    const int side = page_side();
    const int w = sprite.width + 2 * border, h = sprite.height + 2 * border;
    if (w > side || h > side) return false;

    SDL_Rect slot{};
    atlas_page* page = nullptr;
    for (auto& p : s.pages)
        if (take_free_slot(*p, w, h, slot)) {
            page = p.get();
            break;
        }
    if (!page)
        for (auto& p : s.pages)
            if (take_shelf_space(*p, side, w, h, slot)) {
                page = p.get();
                break;
            }
    if (!page) {
        page = new_page(side);
        if (!page) return false;
        take_shelf_space(*page, side, w, h, slot);
    }

    // SDL carries out draws still queued from the page before changing it.
    const std::vector<uint32_t> texels = bordered_texels(sprite.surface);
    const SDL_Rect area{slot.x, slot.y, w, h};
    if (SDL_UpdateTexture(page->gpu.texture, &area, texels.data(), w * 4) != 0) {
        page->free_slots.push_back(slot);
        if (page->sprites == 0) drop_page(page);
        return false;
    }
    ++page->sprites;
    sprite.page = page;
    sprite.slot = slot;
    sprite.source = {slot.x + border, slot.y + border, sprite.width, sprite.height};
    return true;
}

void release_from_page(sprite_record& sprite) {
    atlas_page* page = sprite.page;
    if (!page) return;
    sprite.page = nullptr;
    page->free_slots.push_back(sprite.slot);
    if (--page->sprites == 0) drop_page(page);
}

void close_pages() {
    media_state& s = state();
    for (auto& page : s.pages) SDL_DestroyTexture(page->gpu.texture);
    s.pages.clear();
}

}  // namespace media

using namespace media;

int atlas_page_count() { return static_cast<int>(state().pages.size()); }

int sprite_page(int sprite) {
    media_state& s = state();
    sprite_record* record = s.sprites.find(sprite);
    if (!record || !record->page) return 0;
    for (size_t i = 0; i < s.pages.size(); ++i)
        if (s.pages[i].get() == record->page) return static_cast<int>(i) + 1;
    return 0;
}
