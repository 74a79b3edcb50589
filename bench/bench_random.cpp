#include <benchmark/benchmark.h>

#include "media/random.h"

static void random_draws(benchmark::State& state) {
    random_seed(12345);
    int32_t sum = 0;
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) sum += random(1000);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(random_draws);
