// Frame pacing: two minutes of play on the shipped pack, headless on the real
// clock, with the arrow keys held and let go as a person plays. Each pass of
// the main loop is one frame; the passes that built a level (and showed its
// banner) are left out. The counters give the median and the 99th percentile
// of the time between frames, in milliseconds, and their ratio; the same for
// the main thread's processor time of a frame, which tells a frame that had
// more to do from one whose thread waited for the processor.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdint>
#include <vector>

#include "game/startup.h"
#include "media/media.h"
#include "shipped_pack.h"
#include "world/level_state.h"
#include "world/world.h"

namespace {

using pacing_clock = std::chrono::steady_clock;

// An arrow held for a third of a second to a second and a half, then a pause
// of up to half a second, the arrows taken from a fixed sequence.
std::vector<input_frame> walking_player(int frames) {
    const int arrows[] = {0xC8, 0xCD, 0xD0, 0xCB};   // up, right, down, left
    std::vector<input_frame> script;
    uint32_t seed = 2026;
    auto next = [&seed](int below) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % uint32_t(below));
    };
    while (int(script.size()) < frames) {
        input_frame held;
        held.keys = {arrows[next(4)]};
        for (int i = 20 + next(70); i > 0; --i) script.push_back(held);
        for (int i = next(30); i > 0; --i) script.push_back(input_frame{});
    }
    return script;
}

double thread_ms() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[size_t(fraction * double(values.size() - 1))];
}

void frame_pacing(benchmark::State& state) {
    constexpr int frames = 2 * 60 * 60;
    open_shipped_game(1);
    set_input_script(walking_player(frame_number() + frames + 1000));
    set_virtual_clock(false);
    std::vector<double> intervals, work;
    for (auto _ : state) {
        auto last = pacing_clock::now();
        for (int frame = 0; frame < frames; ++frame) {
            // The clock stays out of the way: no name entry in the middle.
            time_left = 1000;
            const int32_t level = loaded_dimension;
            const int flips = frame_number();
            const double started = thread_ms();
            main_loop_pass();
            const auto now = pacing_clock::now();
            if (loaded_dimension == level && frame_number() == flips + 1) {
                intervals.push_back(std::chrono::duration<double, std::milli>(now - last).count());
                work.push_back(thread_ms() - started);
            }
            last = now;
        }
    }
    const double median = percentile(intervals, 0.5), p99 = percentile(intervals, 0.99);
    state.counters["median_ms"] = median;
    state.counters["p99_ms"] = p99;
    state.counters["p99_over_median"] = p99 / median;
    state.counters["cpu_median_ms"] = percentile(work, 0.5);
    state.counters["cpu_p99_ms"] = percentile(work, 0.99);
    state.counters["levels"] = dimension;
    state.SetLabel(renderer_name());
    shutdown_media();
}
BENCHMARK(frame_pacing)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
