#include "world/enemy_ai.h"

#include <cmath>

#include "core/configuration.h"
#include "core/fault_report.h"
#include "core/sound_list.h"
#include "media/blend_factors.h"
#include "media/media.h"
#include "media/random.h"
#include "world/level_state.h"
#include "world/tile_rules.h"
#include "world/world.h"

enemy* current_enemy = nullptr;

namespace {


// What tells the two kinds apart.
struct enemy_kind {
    uint8_t blocking_collision;     // a cell with use_collision at or above this blocks
    bool bombs_after_turn;          // sets off bombs after a step with a new heading...
    bool bombs_after_keep;          // ...or after a step that keeps the heading
    void (*step_x)(int32_t);
    void (*step_y)(int32_t);
};

const enemy_kind painter_kind{1, false, true, step_painter_x, step_painter_y};
const enemy_kind eraser_kind{2, true, false, step_eraser_x, step_eraser_y};

bool free_for(const enemy_kind& kind, int32_t x, int32_t y) {
    // Beyond the matrix cell_at reads a wall that blocks everyone.
    return cell_at(x, y).use_collision < kind.blocking_collision;
}

struct heading_move {
    int32_t heading, dx, dy;
};
// The order in which a new heading is tried.
constexpr heading_move moves[4] = {
    {heading_right, 1, 0}, {heading_left, -1, 0}, {heading_down, 0, 1}, {heading_up, 0, -1}};

void take_step(const enemy_kind& kind, const heading_move& move) {
    if (move.dx != 0) kind.step_x(move.dx);
    if (move.dy != 0) kind.step_y(move.dy);
}

void wander(const enemy_kind& kind) {
    enemy* e = current_enemy;
    if (!e) return;
    const int32_t cx = nearest_int(double(e->x) / double(tile_width));
    const int32_t cy = nearest_int(double(e->y) / double(tile_height));
    if (random(e->turn_chance) == 0) {
        // Each heading gets its own draw, whether or not its cell is free.
        for (const heading_move& move : moves) {
            if (random(e->move_chance) != 0 || !free_for(kind, cx + move.dx, cy + move.dy))
                continue;
            take_step(kind, move);
            e->heading = move.heading;
            if (kind.bombs_after_turn) trigger_bombs(cx, cy);
            return;
        }
        return;
    }
    for (const heading_move& move : moves) {
        if (e->heading != move.heading) continue;
        if (random(e->move_chance) == 0 && free_for(kind, cx + move.dx, cy + move.dy)) {
            take_step(kind, move);
            if (kind.bombs_after_keep) trigger_bombs(cx, cy);
        }
        return;
    }
}

void think(uint8_t ai_level, void (*wander_kind)()) {
    enemy* e = current_enemy;
    if (!e) return;
    if (e->think_chance <= -1 || random(e->think_chance) != 0) return;
    // Levels 2 to 4 stand still; every other level wanders.
    if (ai_level >= 2 && ai_level <= 4) return;
    wander_kind();
}

// One step of `pixels` along an axis, or none when the enemy cannot move on it.
bool step_along(int32_t& position, int32_t d, float tile_size, int32_t steps_per_tile) {
    if (steps_per_tile == 0) return false;
    // Worked out wide: a large tile over a small step count never overflows.
    position = nearest_int(double(position) + double(d) * double(tile_size) / steps_per_tile);
    return true;
}

void after_painter_step() {
    paint_pink(current_enemy->x, current_enemy->y);
    play_sound_effect(cfg_deftilesound, 0);
}

void after_eraser_step() {
    erase_tile(current_enemy->x, current_enemy->y);
    play_sound_effect(cfg_deftilesound, 0);
}

void run_pass(std::vector<enemy>& list, void (*think_kind)(uint8_t)) {
    // Indexed: nothing in a pass adds enemies, but a pointer into the list
    // must not outlive it.
    for (size_t i = 0; i < list.size(); ++i) {
        enemy& e = list[i];
        current_enemy = &e;
        if (e.spin != 0) rotate_blended(e.sprite, float(e.spin));
        think_kind(e.ai_level);
        draw_enemy(e);
    }
    current_enemy = nullptr;
}

}  // namespace

void init_enemy_globals() {
    current_enemy = nullptr;
}

void painters_pass() {
    MARK_SITE("enemy_ai");
    run_pass(painters, think_painter);
}

void erasers_pass() {
    MARK_SITE("enemy_ai");
    run_pass(erasers, think_eraser);
}

void think_painter(uint8_t ai_level) { think(ai_level, wander_painter); }
void think_eraser(uint8_t ai_level) { think(ai_level, wander_eraser); }

void wander_painter() { wander(painter_kind); }
void wander_eraser() { wander(eraser_kind); }

void step_painter_x(int32_t d) {
    if (current_enemy && step_along(current_enemy->x, d, tile_width, current_enemy->step_x))
        after_painter_step();
}

void step_painter_y(int32_t d) {
    if (current_enemy && step_along(current_enemy->y, d, tile_height, current_enemy->step_y))
        after_painter_step();
}

void step_eraser_x(int32_t d) {
    if (current_enemy && step_along(current_enemy->x, d, tile_width, current_enemy->step_x))
        after_eraser_step();
}

void step_eraser_y(int32_t d) {
    if (current_enemy && step_along(current_enemy->y, d, tile_height, current_enemy->step_y))
        after_eraser_step();
}

void draw_enemy(const enemy& e) {
    if (e.blend_src > 0 || e.blend_dst > 0)
        set_blending(e.blend_src, e.blend_dst);
    else
        set_blending(normal_source, normal_destination);
    draw_blended(e.sprite, nearest_int(double(e.x) + e.offset_x - double(view_x) * tile_width),
                 nearest_int(double(e.y) + e.offset_y - double(view_y) * tile_height), e.alpha);
    set_blending(normal_source, normal_destination);
}
