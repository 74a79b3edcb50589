#include "media/random.h"

#include "media/media.h"

namespace {

uint32_t state[34];   // A[0], B[0], A[1], B[1], ... A[16], B[16]
int p1 = 0;
int p2 = 10;
bool seeded = false;

uint32_t rotate_left(uint32_t v, int n) { return (v << n) | (v >> (32 - n)); }

uint64_t step() {
    uint32_t x = rotate_left(state[2 * p1], 19) + state[2 * p2];
    uint32_t y = rotate_left(state[2 * p1 + 1], 27) + state[2 * p2 + 1];
    state[2 * p1] = y;
    state[2 * p1 + 1] = x;
    if (--p1 < 0) p1 = 16;
    if (--p2 < 0) p2 = 16;
    return (uint64_t(x) << 32) | y;
}

void fill(uint32_t s) {
    for (uint32_t& word : state) {
        s = s * 0xAC564B05u + 1u;
        word = s;
    }
    p1 = 0;
    p2 = 10;
    for (int i = 0; i < 31; ++i) step();
}

void seed_from_clock_once() {
    if (seeded) return;
    seeded = true;
    fill(milliseconds());
}

}  // namespace

void random_seed(int32_t seed) {
    seed_from_clock_once();
    fill(uint32_t(seed));
}

int32_t random(int32_t max) {
    seed_from_clock_once();
    uint64_t v = step();
    if (max < 0) return INT32_MIN;
    uint64_t range = uint64_t(uint32_t(max) + 1u);
    // Top 32 bits of the 96-bit product v * range.
    uint64_t low = (v & 0xFFFFFFFFu) * range;
    uint64_t high = (v >> 32) * range + (low >> 32);
    return int32_t(high >> 32);
}

void random_reset() {
    seeded = false;
    p1 = 0;
    p2 = 10;
    for (uint32_t& word : state) word = 0;
}
