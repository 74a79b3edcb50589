#include "simple_player.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/configuration.h"
#include "core/frame_end.h"
#include "core/machine.h"
#include "core/screens.h"
#include "game/startup.h"
#include "media/media.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

constexpr int decision_frames = 15;   // a person's reaction, at 60 frames a second
constexpr int key_up = 0xC8, key_left = 0xCB, key_right = 0xCD, key_down = 0xD0;

// What the player knows of a cell: only what the screen showed of it.
struct known_cell {
    bool seen = false;
    bool free = false;       // no wall or water: the marker can step there
    bool paintable = false;  // floor, green or pink: a step paints it blue
    bool good = false;       // blue or fixed
};

struct step_plan {
    int key = 0;             // 0: nowhere to go
    int run = 0;             // steps in that direction before the path turns
};

struct player_run {
    int target = 1;
    bool idle = false;
    int result_pipe = -1;
    bool started = false;
    int busy_until = 0;      // the frame the current key press ends
    long frames_left = 0;
    std::vector<known_cell> map;
    dimension_result result;
};
player_run run;

known_cell& known(int x, int y) { return run.map[size_t(x) * matrix_cells + size_t(y)]; }

bool inside(int x, int y) { return x >= 0 && y >= 0 && x < matrix_cells && y < matrix_cells; }

// Until the clock takes time_left below 0.
long clock_frames_left() {
    return long(time_left + 1) * (clock_tick_limit + 1) - clock_frames;
}

bool on_screen(int column, int row) {
    return float(column) * tile_width < screen_width && float(row) * tile_height < screen_height;
}

void look_at_screen() {
    walk_visible_window([](int32_t x, int32_t y, int32_t column, int32_t row) {
        if (!on_screen(column, row)) return;
        const world_cell& cell = world_matrix[x][y];
        const bool shown = cell.active == 1 && cell.alpha > 0;
        const interned_name kind = cell.tile_name;
        known_cell& k = known(x, y);
        k.seen = true;
        k.free = shown && cell.use_collision == 0;
        k.paintable = shown && (kind == lab_floor || kind == lab_green || kind == lab_pink_floor);
        k.good = shown && (kind == lab_blue_floor || kind == lab_fixed_floor);
    });
}

void marker_cell(int& x, int& y) {
    x = nearest_int(std::floor(player.x / tile_width) + view_x);
    y = nearest_int(std::floor(player.y / tile_height) + view_y);
}

// Four cells from (x, y) right and down that could all end blue or fixed:
// how many already are, or -1.
int square_promise(int x, int y) {
    int good = 0;
    for (int dx = 0; dx < 2; ++dx)
        for (int dy = 0; dy < 2; ++dy) {
            if (!inside(x + dx, y + dy)) return -1;
            const known_cell& k = known(x + dx, y + dy);
            if (!k.free || !(k.paintable || k.good)) return -1;
            good += k.good ? 1 : 0;
        }
    return good;
}

// Painting the cell brings a tile closer to fixed when it lies in such a
// square; the best square's promise, or -1.
int usefulness(int x, int y) {
    if (!known(x, y).paintable || !known(x, y).free) return -1;
    int best = -1;
    for (int sx = x - 1; sx <= x; ++sx)
        for (int sy = y - 1; sy <= y; ++sy) best = std::max(best, square_promise(sx, sy));
    return best;
}

bool next_to_unseen(int x, int y) {
    const int around[4][2] = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}};
    for (const auto& d : around)
        if (inside(x + d[0], y + d[1]) && !known(x + d[0], y + d[1]).seen) return true;
    return false;
}

// Breadth first from the marker over the free cells it knows: the nearest
// useful cell (the more promising among equals), else the nearest edge of the
// unseen. Returns the path's first step.
step_plan plan_step(int from_x, int from_y) {
    const int around[4][2] = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}};
    const int keys[4] = {key_up, key_left, key_right, key_down};
    std::vector<int> parent(run.map.size(), -1);   // index of the cell before, or -1
    std::vector<int> first_key(run.map.size(), 0);
    std::deque<std::pair<int, int>> queue = {{from_x, from_y}};
    parent[size_t(from_x) * matrix_cells + size_t(from_y)] = -2;
    int best = -1, best_promise = -1, frontier = -1;
    int best_depth = 1 << 30;
    std::vector<int> depth(run.map.size(), 0);
    while (!queue.empty()) {
        auto [x, y] = queue.front();
        queue.pop_front();
        const int here = x * matrix_cells + y;
        if (depth[size_t(here)] > best_depth) break;
        const int promise = here == from_x * matrix_cells + from_y ? -1 : usefulness(x, y);
        if (promise > best_promise) {
            best = here;
            best_promise = promise;
            best_depth = depth[size_t(here)];
        }
        if (frontier < 0 && best < 0 && depth[size_t(here)] > 0 && next_to_unseen(x, y))
            frontier = here;
        for (int d = 0; d < 4; ++d) {
            const int nx = x + around[d][0], ny = y + around[d][1];
            if (!inside(nx, ny) || !known(nx, ny).free) continue;
            const int next = nx * matrix_cells + ny;
            if (parent[size_t(next)] != -1) continue;
            parent[size_t(next)] = here;
            depth[size_t(next)] = depth[size_t(here)] + 1;
            first_key[size_t(next)] = parent[size_t(here)] == -2 ? keys[d] : first_key[size_t(here)];
            queue.push_back({nx, ny});
        }
    }
    const int goal = best >= 0 ? best : frontier;
    if (goal < 0 || parent[size_t(goal)] == -2) return {};
    // The run: how many of the path's first steps share the first key.
    std::vector<int> path;
    for (int at = goal; at >= 0; at = parent[size_t(at)]) path.push_back(at);
    std::reverse(path.begin(), path.end());   // from the marker to the goal
    step_plan plan{first_key[size_t(goal)], 0};
    for (size_t i = 1; i < path.size(); ++i) {
        const int delta = path[i] - path[i - 1];
        const int first_delta = path[1] - path[0];
        if (delta != first_delta) break;
        ++plan.run;
    }
    return plan;
}

// One whole press: the key held from this frame on for `frames` frames.
void press(int key, int frames) {
    const int now = frame_number();
    std::vector<input_frame> script(static_cast<size_t>(now));
    input_frame held;
    held.keys = {key};
    script.insert(script.end(), size_t(frames), held);
    set_input_script(std::move(script));
    run.busy_until = now + frames;
}

void decide() {
    look_at_screen();
    if (run.idle) return;
    int x, y;
    marker_cell(x, y);
    if (!inside(x, y)) return;
    const step_plan plan = plan_step(x, y);
    if (plan.key == 0) return;
    // Held for whole steps only, so the marker never passes the turn.
    const int step_frames = cursor_delay + 1;
    press(plan.key, std::min(plan.run * step_frames, std::max(decision_frames, step_frames)));
}

// The cells of the level the screen shows, as a share of the screen.
int picture_percent() {
    double area = 0;
    walk_visible_window([&](int32_t x, int32_t y, int32_t column, int32_t row) {
        const world_cell& cell = world_matrix[x][y];
        if (!on_screen(column, row) || cell.active != 1 || cell.alpha <= 0) return;
        const double w = std::min(double(tile_width), screen_width - column * double(tile_width));
        const double h = std::min(double(tile_height), screen_height - row * double(tile_height));
        area += w * h;
    });
    return int(std::lround(100.0 * area / (double(screen_width) * screen_height)));
}

// Objects no cell holds any more were taken in the level's first frame,
// before any key: they lay on the start cell.
int objects_taken() {
    long held = 0;
    for (int x = 0; x <= level_last_x; ++x)
        for (int y = 0; y <= level_last_y; ++y) {
            const world_cell& cell = world_matrix[x][y];
            for (int i = 0; i <= cell.last_child_slot && i < 4; ++i)
                if (cell.child_object[i] >= 0 && size_t(cell.child_object[i]) < world_objects.size())
                    ++held;
        }
    return int(long(world_objects.size()) - held);
}

void begin_level() {
    dimension_result& r = run.result;
    r.played = true;
    r.columns = level_last_x + 1;
    r.rows = level_last_y + 1;
    r.critical_mass = critical_mass;
    r.clock_seconds = double(clock_frames_left()) / 60.0;
    r.painters = int(painters.size());
    r.erasers = int(erasers.size());
    r.start_objects = objects_taken();
    r.picture_percent = picture_percent();
    run.map.assign(size_t(matrix_cells) * matrix_cells, known_cell());
    run.started = true;
}

void finish(bool won) {
    dimension_result& r = run.result;
    r.won = won;
    r.seconds_left = won ? double(run.frames_left) / 60.0 : 0;
    r.mass_left = won ? 0 : std::max(0, critical_mass);
    char line[256];
    const int length = std::snprintf(
        line, sizeof line, "%d %d %d %d %d %.3f %d %d %d %d %d %.3f %d\n", r.dimension,
        r.played, r.columns, r.rows, r.critical_mass, r.clock_seconds, r.painters, r.erasers,
        r.start_objects, r.picture_percent, r.won, r.seconds_left, r.mass_left);
    if (write(run.result_pipe, line, size_t(length)) != length) std::perror("zorbel-tool");
    end_program();
}

void watch_frame() {
    if (!run.started) {
        if (screen_state != screen_state_playing) return;
        if (dimension != run.target) dimension = run.target;   // the level chosen to play
        if (loaded_dimension != run.target || new_level_banner != 0) return;
        begin_level();
    }
    if (dimension != run.target) finish(true);
    if (screen_state != screen_state_playing || time_left < 0) finish(false);
    run.frames_left = clock_frames_left();
    const int now = frame_number();
    if (now % decision_frames == 0 && now >= run.busy_until) decide();
}

// The child: the real program from its title menu, Return to start a game.
[[noreturn]] void play_in_child(const std::string& dir, const fs::path& home, int target,
                                bool idle, int result_pipe) {
    const fs::path script = home / "start.txt";
    std::ofstream(script) << "seed 1\n3 keys Return\n4 keys -\n5000000 end\n";
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    if (!std::freopen("/dev/null", "w", stdout)) std::_Exit(3);
    run.target = target;
    run.idle = idle;
    run.result_pipe = result_pipe;
    run.result.dimension = target;
    frame_presented = watch_frame;
    std::vector<std::string> args = {"zorbel",  "--headless", "--desktop", "4096x4096",
                                     "--data",  dir,          "--replay",  script.string()};
    std::vector<char*> pointers;
    for (std::string& arg : args) pointers.push_back(arg.data());
    std::_Exit(zorbel_main(int(pointers.size()), pointers.data()));
}

struct child_run {
    pid_t pid = -1;
    int pipe = -1;
    fs::path home;
    int dimension = 0;
};

child_run start_child(const std::string& dir, int target, bool idle) {
    child_run child;
    child.dimension = target;
    char home[] = "/tmp/zorbel-player-XXXXXX";
    int ends[2];
    if (!mkdtemp(home) || pipe(ends) != 0) return child;
    child.home = home;
    std::fflush(nullptr);
    child.pid = fork();
    if (child.pid == 0) {
        close(ends[0]);
        play_in_child(dir, child.home, target, idle, ends[1]);
    }
    close(ends[1]);
    child.pipe = ends[0];
    return child;
}

dimension_result collect(child_run& child) {
    std::string text;
    char buffer[256];
    for (ssize_t n; child.pipe >= 0 && (n = read(child.pipe, buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(n));
    if (child.pipe >= 0) close(child.pipe);
    if (child.pid > 0) waitpid(child.pid, nullptr, 0);
    std::error_code error;
    if (!child.home.empty()) fs::remove_all(child.home, error);
    dimension_result r;
    r.dimension = child.dimension;
    int played = 0, won = 0;
    std::istringstream in(text);
    in >> r.dimension >> played >> r.columns >> r.rows >> r.critical_mass >> r.clock_seconds >>
        r.painters >> r.erasers >> r.start_objects >> r.picture_percent >> won >> r.seconds_left >>
        r.mass_left;
    r.played = in && played != 0;
    r.won = r.played && won != 0;
    return r;
}

std::string fixed1(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string outcome(const dimension_result& r) {
    if (!r.played) return "not reached";
    if (!r.won) return "lost, critical mass " + std::to_string(r.mass_left) + " left";
    const int percent = int(std::lround(100.0 * r.seconds_left / std::max(r.clock_seconds, 1e-9)));
    return "won, " + fixed1(r.seconds_left) + " s left (" + std::to_string(percent) + "%)";
}

}  // namespace

std::vector<dimension_result> play_dimensions(const std::string& dir, int first, int last,
                                              bool idle) {
    const std::string folder = fs::absolute(dir).string();
    std::vector<dimension_result> results;
    // Two runs at a time, one per core.
    for (int n = first; n <= last; n += 2) {
        child_run a = start_child(folder, n, idle);
        child_run b = n + 1 <= last ? start_child(folder, n + 1, idle) : child_run();
        results.push_back(collect(a));
        if (n + 1 <= last) results.push_back(collect(b));
    }
    return results;
}

std::string describe_result(const dimension_result& r) {
    std::string line = "dimension " + std::to_string(r.dimension) + ": " + outcome(r);
    if (!r.played) return line;
    return line + "; " + std::to_string(r.columns) + " x " + std::to_string(r.rows) +
           " cells filling " + std::to_string(r.picture_percent) + "% of the picture, clock " +
           fixed1(r.clock_seconds) + " s, critical mass " + std::to_string(r.critical_mass) +
           ", " + std::to_string(r.start_objects) + " object(s) on the start cell";
}

std::string pack_table(const std::vector<dimension_result>& results) {
    std::string out =
        "# The shipped pack's first dimensions\n\n"
        "What a newcomer meets in the first dimensions of `data/`, and how the simple player\n"
        "(`zorbel-tool play`, docs/tools.md) fares on each, playing it from the title menu.\n"
        "The clock is in seconds at 60 frames a second. Regenerate this file after changing\n"
        "the pack with\n\n"
        "    build/zorbel-tool pack-table data docs/pack.md\n\n"
        "| Dimension | Cells | Critical mass | Clock (s) | Painters | Erasers | Simple player |\n"
        "|---|---|---|---|---|---|---|\n";
    for (const dimension_result& r : results) {
        out += "| " + std::to_string(r.dimension) + " | " + std::to_string(r.columns) + " x " +
               std::to_string(r.rows) + " | " + std::to_string(r.critical_mass) + " | " +
               fixed1(r.clock_seconds) + " | " + std::to_string(r.painters) + " | " +
               std::to_string(r.erasers) + " | " + outcome(r) + " |\n";
    }
    return out;
}
