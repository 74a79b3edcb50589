// Clock, dates, threads, message boxes, the fault hook, sound and random numbers.
#include <setjmp.h>
#include <signal.h>

#include <atomic>
#include <climits>
#include <cerrno>
#include <cstring>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "media/random.h"
#include "media_test_helpers.h"

namespace {

TEST(MediaClock, DatesFormatWithTheMasks) {
    setenv("TZ", "UTC", 1); tzset();
    const struct { int64_t time; const char* mask; const char* expected; } cases[] = {
        {1700000000, "%yyyy-%mm-%dd %hh:%ii:%ss", "2023-11-14 22:13:20"},
        {1700000000, "%yyyy%mm%dd%hh%ii%ss", "20231114221320"},
        {946688461, "%dd.%mm.%yyyy %hh:%ii:%ss", "01.01.2000 01:01:01"},
        {946688461, "%y %m %x 100%", "%y %m %x 100%"},
        {946688461, "", ""}};
    for (const auto& c : cases) EXPECT_EQ(format_date(c.time, c.mask), c.expected) << c.mask;
    EXPECT_GT(local_time_now(), 1700000000);
}

// Sleeps move the virtual clock at once; threads get their argument and really sleep.
TEST(MediaClock, TheVirtualClockMovesOnlyWhenTheGameSleeps) {
    set_virtual_clock(true);
    EXPECT_TRUE(virtual_clock_on());
    const uint32_t start = milliseconds();
    const auto wall = std::chrono::steady_clock::now();
    for (int ms : {12000, 250, -5}) sleep_ms(ms);
    EXPECT_EQ(milliseconds() - start, 12250u);
    EXPECT_LT(std::chrono::steady_clock::now() - wall, std::chrono::seconds(5));

    static std::atomic<int> sum{0};
    const int first = start_thread([](int ms) { sleep_ms(ms); sum += ms; }, 30);
    const int second = start_thread([](int n) { sum += n; }, 7);
    EXPECT_NE(first, 0);
    EXPECT_NE(second, 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(start_thread(nullptr, 0), 0);
    for (int i = 0; i < 1000 && sum != 37; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(sum.load(), 37);
    EXPECT_EQ(milliseconds() - start, 12250u) << "a background thread leaves the game's clock alone";
    set_virtual_clock(false);
    EXPECT_FALSE(virtual_clock_on());
}

TEST(MediaSystem, HeadlessMessageBoxesTakeTheSetAnswerAndErrorsReadAsText) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1); unsetenv("ZORBEL_MESSAGE_ANSWER");
    ASSERT_TRUE(headless());
    set_message_box_answer(0); testing::internal::CaptureStderr();
    EXPECT_EQ(message_box("Error 4", "No window", false), answer_ok);
    EXPECT_EQ(message_box("Fault", "Go on?", true), answer_no);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("Error 4"), std::string::npos);
    EXPECT_NE(printed.find("No window"), std::string::npos);

    testing::internal::CaptureStderr(); set_message_box_answer(answer_yes);
    EXPECT_EQ(message_box("Fault", "Go on?", true), answer_yes);
    EXPECT_EQ(message_box("Error", "Only OK", false), answer_ok);
    set_message_box_answer(0); setenv("ZORBEL_MESSAGE_ANSWER", "yes", 1);
    EXPECT_EQ(message_box("Fault", "Go on?", true), answer_yes);
    set_message_box_answer(answer_no);
    EXPECT_EQ(message_box("Fault", "Go on?", true), answer_no) << "the program's own setting wins";
    testing::internal::GetCapturedStderr(); unsetenv("ZORBEL_MESSAGE_ANSWER");
    set_message_box_answer(0);
    // Fault reports tell the last system error as text.
    errno = 0;
    EXPECT_EQ(last_system_error(), "");
    errno = ENOENT;
    EXPECT_EQ(last_system_error(), std::strerror(ENOENT));
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
    EXPECT_EXIT({ install_fault_hook(print_and_return); store_through_null(); },
                testing::KilledBySignal(SIGSEGV), "hook: Access violation");
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
    setenv("SDL_AUDIODRIVER", "dummy", 1); temp_folder folder;
    EXPECT_EQ(load_sound(folder.write("early.wav", wav_bytes(100))), 0) << "no service yet";
    ASSERT_TRUE(start_sound_service());
    register_decoders();
    const std::string beep = folder.write("beep.wav", wav_bytes(2000));
    const int sound = load_sound(beep);
    ASSERT_NE(sound, 0);
    EXPECT_TRUE(sound_exists(sound));
    for (int round = 0; round < 2; ++round) {   // the second round on a freed sound does nothing
        play_sound(sound, false); play_sound(sound, true); stop_sound(sound);
        free_sound(sound);
        EXPECT_FALSE(sound_exists(sound));
    }
    EXPECT_NE(load_sound(beep), sound);
    EXPECT_EQ(load_sound(folder.path() + "/missing.ogg"), 0);
    EXPECT_EQ(load_sound(folder.write("junk.ogg", "junk")), 0);

    const int music = load_music(beep);
    ASSERT_NE(music, 0);
    EXPECT_TRUE(music_exists(music));
    play_music_stream(music, true); stop_music_stream(); play_music_stream(music, false);
    free_music_stream(music);
    EXPECT_FALSE(music_exists(music));
    play_music_stream(music, true);
    EXPECT_EQ(load_music(folder.path() + "/missing.ogg"), 0);
    shutdown_media();
    EXPECT_FALSE(sound_exists(sound));
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
    EXPECT_EQ(draws(12345, 1000, 8), (std::vector<int32_t>{279, 711, 663, 341, 585, 275, 302, 705}));
    EXPECT_EQ(draws(-1, INT32_MAX, 8),
              (std::vector<int32_t>{925398257, 897277412, 1598497663, 1879319581, 1080534267,
                                    142581160, 1515616826, 1248293651}));
    const command_result tool = run_command(std::string(ZORBEL_TOOL) + " rng 12345 4 1000");
    EXPECT_EQ(tool.exit_code, 0);
    EXPECT_EQ(tool.out, "279\n711\n663\n341\n");
    EXPECT_EQ(run_command(std::string(ZORBEL_TOOL) + " rng x 4 1000").exit_code, 2);
}

TEST(Random, SameSeedSameSequenceWhateverCameBefore) {
    random_reset();
    const std::vector<int32_t> first = draws(777, 500, 50);
    for (int i = 0; i < 1234; ++i) random(9);
    random_seed(3); random(100);
    EXPECT_EQ(draws(777, 500, 50), first);
}

TEST(Random, ResultsStayInRangeEvenBeforeSeeding) {
    random_reset();
    const int32_t unseeded = random(10);
    EXPECT_TRUE(unseeded >= 0 && unseeded <= 10) << unseeded;
    random_seed(99);
    for (int32_t max : {1, 2, 7, 1000, 65535, 1 << 30, INT32_MAX})
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
    const struct { int32_t max, result; } cases[] = {{0, 0}, {-1, INT32_MIN}, {INT32_MIN, INT32_MIN}};
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
