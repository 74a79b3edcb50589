#include "content/level_setup.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/configuration.h"
#include "core/error_codes.h"
#include "core/machine.h"
#include "core/screens.h"
#include "core/sound_list.h"
#include "media/colours.h"
#include "media/media.h"
#include "media/random.h"
#include "world/enemy_ai.h"
#include "world/labyrinth.h"
#include "world/level_state.h"
#include "world/marker_states.h"
#include "world/object_definitions.h"
#include "world/tile_definitions.h"
#include "world/world.h"

int32_t level_base_width, level_base_height;
float load_bar, build_bar;
int32_t load_bar_frames, build_bar_cells;

namespace {


// The matrix has room for cells 0..512 only.
int32_t within_matrix(int64_t extent) {
    return int32_t(std::clamp<int64_t>(extent, 0, max_level_extent));
}

void seed_for_dimension() { random_seed(int32_t(uint32_t(cfg_worldrandom) + uint32_t(dimension))); }

void build_labyrinth_and_enemies() {
    fill_with_walls(level_last_x, level_last_y, show_build_progress);
    const cell_position start = dig_labyrinth(level_last_x, level_last_y);
    if (start.x >= 0) {
        player.state = marker_idle;
        place_player(start.x, start.y);
    }
    scatter_green(level_last_x, level_last_y);
    scatter_water(level_last_x, level_last_y);
    mark_edges();
    spawn_enemies(1);
    spawn_enemies(2);
    zoom_all_tiles();
}

// A level one column or one row wide has no area: step by the whole width
// rather than divide by zero.
float progress_step() {
    const int64_t cells = int64_t(level_last_x) * int64_t(level_last_y);
    return screen_width / float(cells > 0 ? cells : 1);
}

void draw_progress_bar(float length) {
    const int top = int(std::lround(screen_height * 0.85f));
    const int width = int(std::lround(screen_width));
    const float bounded = std::clamp(length, 0.0f, float(std::max(width, 0)));
    begin_draw();
    draw_box(0, top, width, 9, black);
    draw_box(0, top, int(std::lround(bounded)), 8, red);
    end_draw();
}

std::string alpha_file_path(const std::string& world_path) {
    const std::string ending = ".ai42";
    if (world_path.size() >= ending.size() &&
        world_path.compare(world_path.size() - ending.size(), ending.size(), ending) == 0)
        return world_path.substr(0, world_path.size() - ending.size()) + ".red";
    return cfg_appentry + cfg_appstart + ".red";
}

void set_view_size() {
    view_columns = std::ceil(screen_width / tile_width);
    view_rows = std::ceil(screen_height / tile_height);
}

// A prepared world names no start: the marker goes to the first cell it may
// stand on, column by column.
void place_player_in_world() {
    for (int32_t x = 0; x <= level_last_x; ++x) {
        for (int32_t y = 0; y <= level_last_y; ++y) {
            const world_cell& cell = world_matrix[x][y];
            if (cell.active == 1 && cell.use_collision == 0 && cell.tile_name != lab_wall) {
                player.state = marker_idle;
                place_player(x, y);
                return;
            }
        }
    }
}

}  // namespace

void init_level_setup_globals() {
    level_base_width = level_base_height = 0;
    load_bar = build_bar = 1.0f;
    load_bar_frames = build_bar_cells = 0;
}

void build_next_level() {
    critical_mass = 0;
    screen_state = screen_state_playing;
    if (dimension < 1) dimension = 0;
    seed_for_dimension();
    int64_t last_x = int64_t(random(level_base_width / 2)) + level_base_width / 2 + dimension;
    int64_t last_y = int64_t(random(level_base_height / 2)) + level_base_height / 2 + dimension;
    if (last_x > matrix_width || last_x < 1) last_x = matrix_width;
    if (last_y > matrix_height || last_y < 1) last_y = matrix_height;
    level_last_x = within_matrix(last_x);
    level_last_y = within_matrix(last_y);
    critical_mass = 0;
    // Each level brings its own track; the draws belong to the level's sequence.
    play_music("");
    player.state = marker_idle;
    free_enemy_list(painters);
    free_enemy_list(erasers);
    reset_world();
    load_object_definitions();
    build_labyrinth_and_enemies();
}

void load_level_base(const std::string& path) {
    critical_mass = 0;
    screen_state = screen_state_playing;
    std::array<std::string, 5> lines;
    if (read_level_base_lines(path, lines) < 0) {
        raise_error(error_no_level_base);
        return;
    }
    level_base_width = read_integer(lines[1]);
    level_base_height = read_integer(lines[2]);
    seed_for_dimension();
    int64_t last_x = int64_t(random(level_base_width / 2)) + random(level_base_width / 2);
    int64_t last_y = int64_t(random(level_base_height / 2)) + random(level_base_height / 2);
    level_last_x = within_matrix(last_x);
    level_last_y = within_matrix(last_y);
    player.state = marker_idle;
    reset_world();
    free_enemy_list(painters);
    free_enemy_list(erasers);
    load_player_image();
    build_labyrinth_and_enemies();
}

void load_world_file(const std::string& path) {
    int file = open_read(path);
    if (file == 0) {
        raise_error(error_no_topography);
        return;
    }
    read_line(file);
    const int32_t file_last_x = read_integer(read_line(file));
    const int32_t file_last_y = read_integer(read_line(file));
    read_line(file);
    read_line(file);
    // The file's own extent orders its cells; only those inside the matrix are kept.
    level_last_x = within_matrix(file_last_x);
    level_last_y = within_matrix(file_last_y);
    read_world_cells(file, file_last_x, file_last_y, 3,
                     [](int32_t x, int32_t y, const std::string& kind) {
                         if (in_matrix(x, y)) {
                             world_cell& cell = world_matrix[x][y];
                             cell.tile_name = kind;
                             cell.active = 1;
                             if (cfg_usesprite3d == 1) {
                                 load_tile_definition(x, y, tile_definition_path(kind));
                                 attach_tile_graphic(x, y, cell.gfx_name);
                                 spawn_cell_objects(x, y);
                             }
                         }
                         show_load_progress();
                     });
    set_view_size();
    close_file(file);

    // Alpha values are optional: without the file cells keep their definitions' alpha.
    int alphas = open_read(alpha_file_path(path));
    if (alphas != 0) {
        for (int header = 0; header < 5; ++header) read_line(alphas);
        read_world_cells(alphas, file_last_x, file_last_y, 1,
                         [](int32_t x, int32_t y, const std::string& alpha) {
                             if (in_matrix(x, y)) world_matrix[x][y].alpha = read_integer(alpha);
                         });
        set_view_size();
        close_file(alphas);
    }
    if (player.sprite == 0) load_player_image();
    place_player_in_world();
}

void set_up_prepared_world() {
    critical_mass = 0;   // the goodies spawned by the loader add to it
    screen_state = screen_state_playing;
    player.state = marker_idle;
    free_enemy_list(painters);
    free_enemy_list(erasers);
    reset_world();
    load_world_file(cfg_appentry + cfg_appstart + ".ai42");
    int32_t floor_cells = 0;
    for (int32_t x = 0; x <= level_last_x; ++x)
        for (int32_t y = 0; y <= level_last_y; ++y)
            if (world_matrix[x][y].tile_name == lab_floor) ++floor_cells;
    // As the dig counts: a quarter of the floor. A world with nothing to fix
    // still has one, so it is not won again in every frame.
    critical_mass = std::max(critical_mass + floor_cells / 4, 1);
    time_left = std::min(critical_mass / 4, 60);
    loaded_dimension = dimension;
}

int read_level_base_lines(const std::string& path, std::array<std::string, 5>& lines) {
    int file = open_read(path);
    if (file == 0) return -1;
    int count = 0;
    for (std::string& line : lines) {
        count += end_of_file(file) ? 0 : 1;
        line = read_line(file);
    }
    close_file(file);
    return count;
}

void read_world_cells(int file, int32_t last_x, int32_t last_y, int lines_per_cell,
                      const world_cell_reader& cell) {
    int32_t x = 0, y = 0;
    do {
        std::string text;
        for (int line = 0; line < lines_per_cell; ++line) text += read_line(file);
        cell(x, y, text);
        if (++y > last_y) {
            ++x;
            y = 0;
        }
    } while (!end_of_file(file) && x <= last_x);
}

void reset_world() {
    view_x = view_y = 0.0f;
    edge_work_list.clear();
    // Freeing a handle that is already gone does nothing: no need to ask
    // first, each question being a lookup among all the level's sprites.
    for (const world_object& object : world_objects) free_blended(object.sprite3d);
    world_objects.clear();
    if (!world_matrix.allocated()) {
        world_matrix.recreate();
        return;
    }
    // One pass over the 23 MB: each cell's sprite is freed as the cell is
    // cleared.
    const world_cell fresh;
    for (int32_t x = 0; x < matrix_cells; ++x) {
        world_cell* column = world_matrix[x];
        for (int32_t y = 0; y < matrix_cells; ++y) {
            if (column[y].tile_sprite != 0) free_blended(column[y].tile_sprite);
            column[y] = fresh;
        }
    }
}

void free_enemy_list(std::vector<enemy>& list) {
    for (enemy& e : list)
        if (blended_exists(e.sprite)) free_blended(e.sprite);
    list.clear();
}

void load_player_image() {
    set_default_colour_key(white);
    int image = load_sprite(cfg_cursor, true);
    if (image == 0) return;
    // A second load replaces the marker rather than leaking the first one.
    if (blended_exists(player.sprite)) free_blended(player.sprite);
    if (sprite_exists(player.image)) free_sprite(player.image);
    player.image = image;
    player.sprite = create_blended(image);
    player.blend_src = 2;
    player.blend_dst = 5;
    player.angle = 16;
}

void place_player(int32_t x, int32_t y) {
    player.x = float(x) * tile_width;
    player.y = float(y) * tile_height;
}

void show_build_progress() {
    if (loaded_dimension != dimension) {
        build_bar = 1.0f;
        loaded_dimension = dimension;
    }
    build_bar += progress_step();
    // Only a flipped bar is seen, so it is drawn only then.
    if (++build_bar_cells > 2 * int64_t(level_last_x)) {
        draw_progress_bar(build_bar);
        flip_screen();
        build_bar_cells = 0;
    }
}

void show_load_progress() {
    load_bar += progress_step();
    if (load_bar_frames == 0) {
        draw_progress_bar(load_bar);
        flip_screen();
    }
    if (++load_bar_frames > 500) load_bar_frames = 0;
}
