// Clock, dates, message boxes, the fault hook, sound and random numbers.
#include <setjmp.h>
#include <signal.h>

#include <climits>
#include <chrono>
#include <cstdlib>
#include <ctime>

#include "media/random.h"
#include "media_test_helpers.h"

namespace {

TEST(MediaClock, DatesFormatWithTheMasks) {
    setenv("TZ", "UTC", 1); tzset();
    const struct { int64_t time; const char* mask; const char* expected; } cases[] = {
        {1700000000, "%yyyy-%mm-%dd %hh:%ii:%ss", "2023-11-14 22:13:20"},
        {946688461, "%dd.%mm.%yyyy %hh:%ii:%ss", "01.01.2000 01:01:01"},
        {946688461, "%y %m %x 100%", "%y %m %x 100%"}};
    for (const auto& c : cases) EXPECT_EQ(format_date(c.time, c.mask), c.expected) << c.mask;
}

// Sleeps move the virtual clock at once.
TEST(MediaClock, TheVirtualClockMovesOnlyWhenTheGameSleeps) {
    set_virtual_clock(true);
    const uint32_t start = milliseconds();
    const auto wall = std::chrono::steady_clock::now();
    for (int ms : {12000, 250, -5}) sleep_ms(ms);
    EXPECT_EQ(milliseconds() - start, 12250u);
    EXPECT_LT(std::chrono::steady_clock::now() - wall, std::chrono::seconds(5));
    set_virtual_clock(false);
}

TEST(MediaSystem, HeadlessMessageBoxesTakeTheSetAnswer) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1); unsetenv("ZORBEL_MESSAGE_ANSWER");
    ASSERT_TRUE(headless());
    set_message_box_answer(0); testing::internal::CaptureStderr();
    EXPECT_EQ(message_box("Error 4", "No window", false), answer_ok);
    EXPECT_EQ(message_box("Fault", "Go on?", true), answer_no);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("No window"), std::string::npos);
    testing::internal::CaptureStderr();
    setenv("ZORBEL_MESSAGE_ANSWER", "yes", 1);
    EXPECT_EQ(message_box("Fault", "Go on?", true), answer_yes);
    set_message_box_answer(answer_no);
    EXPECT_EQ(message_box("Fault", "Go on?", true), answer_no) << "the program's own setting wins";
    testing::internal::GetCapturedStderr(); unsetenv("ZORBEL_MESSAGE_ANSWER");
    set_message_box_answer(0);
}

// ---- the fault hook, in child processes ----

void print_and_return(const char* description, int code, uintptr_t) {
    std::fprintf(stderr, "hook: %s (%d)\n", description, code);
}

sigjmp_buf resume_point; volatile int faults_seen = 0, quotient = 0;

void jump_back(const char* description, int, uintptr_t) {
    std::fprintf(stderr, "%s; ", description);
    faults_seen = faults_seen + 1; siglongjmp(resume_point, 1);
}

TEST(FaultHookDeathTest, FaultsReachTheHookThenKillUnlessItJumpsBack) {
    EXPECT_EXIT({ install_fault_hook(print_and_return); std::printf("%d", divide_for_real(1, 0)); },
                testing::KilledBySignal(SIGFPE), "hook: Attempted division by zero \\(8\\)");
    // The hook may jump back, and catches the next fault too.
    EXPECT_EXIT(
        {
            install_fault_hook(jump_back); sigsetjmp(resume_point, 1);
            if (faults_seen < 2) quotient = divide_for_real(faults_seen, 0);
            std::fprintf(stderr, "resumed after %d\n", static_cast<int>(faults_seen));
            std::exit(3);
        },
        testing::ExitedWithCode(3), "Attempted division by zero; Attempted division by zero; resumed after 2");
}

// ---- sound, on the dummy audio driver ----

TEST(MediaSound, SoundsLoadPlayStopAndFree) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(start_sound_service());
    register_decoders();
    const int sound = load_sound(ZORBEL_SOURCE_DIR "/data/SFX/fixed.ogg");
    ASSERT_NE(sound, 0);
    play_sound(sound, true);
    stop_sound(sound);
    free_sound(sound);
    EXPECT_FALSE(sound_exists(sound));
    play_sound(sound, false);   // a freed sound does nothing
    EXPECT_EQ(load_sound(ZORBEL_SOURCE_DIR "/data/DATA/ini.txt"), 0);

    const int music = load_music(ZORBEL_SOURCE_DIR "/data/MUSIC/menu.ogg");
    ASSERT_NE(music, 0);
    play_music_stream(music, true);
    stop_music_stream();
    free_music_stream(music);
    EXPECT_FALSE(music_exists(music));
    shutdown_media();
}

// ---- random numbers ----

std::vector<int32_t> draws(int32_t seed, int32_t max, int count) {
    random_seed(seed);
    std::vector<int32_t> out;
    for (int i = 0; i < count; ++i) out.push_back(random(max));
    return out;
}

TEST(Random, GoldenSequencesAndTheToolPrintingThem) {
    EXPECT_EQ(draws(0, 99, 8), (std::vector<int32_t>{54, 78, 66, 37, 23, 62, 63, 42}));
    EXPECT_EQ(draws(-1, INT32_MAX, 8),
              (std::vector<int32_t>{925398257, 897277412, 1598497663, 1879319581, 1080534267,
                                    142581160, 1515616826, 1248293651}));
    const command_result tool = run_command(std::string(ZORBEL_TOOL) + " rng 12345 4 1000");
    EXPECT_EQ(tool.exit_code, 0);
    EXPECT_EQ(tool.out, "279\n711\n663\n341\n");
    EXPECT_EQ(run_command(std::string(ZORBEL_TOOL) + " rng x 4 1000").exit_code, 2);
}

TEST(Random, ResultsStayInRangeEvenBeforeSeeding) {
    random_reset();
    const int32_t unseeded = random(10);
    EXPECT_TRUE(unseeded >= 0 && unseeded <= 10) << unseeded;
    random_seed(99);
    for (int32_t max : {1, 7, INT32_MAX})
        for (int i = 0; i < 2000; ++i) {
            const int32_t r = random(max);
            ASSERT_TRUE(r >= 0 && r <= max) << r << " of " << max;
        }
    bool seen[3] = {};   // both ends of a small range come up
    for (int i = 0; i < 300; ++i) seen[random(2)] = true;
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
}

// A zero or negative maximum gives a fixed answer, yet each draw still advances the sequence.
TEST(Random, ZeroAndNegativeMaximaGiveFixedResultsAndStillAdvance) {
    const struct { int32_t max, result; } cases[] = {{0, 0}, {-1, INT32_MIN}};
    for (const auto& c : cases) {
        random_seed(42); random(5);
        const int32_t second = random(1000);
        random_seed(42);
        EXPECT_EQ(random(c.max), c.result) << c.max;
        EXPECT_EQ(random(1000), second) << c.max;
        for (int i = 0; i < 20; ++i) EXPECT_EQ(random(c.max), c.result) << c.max;
    }
}

}  // namespace
