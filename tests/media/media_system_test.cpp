// Clock, dates, threads, message boxes, the fault hook and sound.
#include <setjmp.h>
#include <signal.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>

#include "media_test_helpers.h"
#include "support/test_support.h"

namespace {

TEST(media_clock, dates_format_with_the_masks) {
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(format_date(1700000000, "%yyyy-%mm-%dd %hh:%ii:%ss"), "2023-11-14 22:13:20");
    EXPECT_EQ(format_date(1700000000, "%yyyy%mm%dd%hh%ii%ss"), "20231114221320");
    EXPECT_EQ(format_date(946688461, "%dd.%mm.%yyyy %hh:%ii:%ss"), "01.01.2000 01:01:01");
    EXPECT_EQ(format_date(946688461, "%y %m %x 100%"), "%y %m %x 100%");
    EXPECT_EQ(format_date(946688461, ""), "");
    EXPECT_GT(local_time_now(), 1700000000);
}

TEST(media_clock, the_virtual_clock_moves_only_when_the_game_sleeps) {
    set_virtual_clock(true);
    EXPECT_TRUE(virtual_clock_on());
    uint32_t start = milliseconds();
    auto wall = std::chrono::steady_clock::now();
    sleep_ms(12000);   // twelve seconds of credits, at once
    sleep_ms(250);
    sleep_ms(-5);
    EXPECT_EQ(milliseconds() - start, 12250u);
    EXPECT_LT(std::chrono::steady_clock::now() - wall, std::chrono::seconds(5));

    // A background thread really sleeps and leaves the game's clock alone.
    static std::atomic<bool> done{false};
    done = false;
    uint32_t before = milliseconds();
    ASSERT_NE(start_thread([](int ms) { sleep_ms(ms); done = true; }, 30), 0);
    while (!done) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(milliseconds(), before);
    set_virtual_clock(false);
    EXPECT_FALSE(virtual_clock_on());
}

TEST(media_threads, threads_run_with_their_argument_under_distinct_handles) {
    static std::atomic<int> sum{0};
    sum = 0;
    int first = start_thread([](int n) { sum += n; }, 5);
    int second = start_thread([](int n) { sum += n; }, 7);
    EXPECT_NE(first, 0);
    EXPECT_NE(second, 0);
    EXPECT_NE(first, second);
    for (int i = 0; i < 1000 && sum != 12; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(sum.load(), 12);
    EXPECT_EQ(start_thread(nullptr, 0), 0);
}

TEST(media_system, headless_message_boxes_print_and_take_the_set_answer) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    unsetenv("ZORBEL_MESSAGE_ANSWER");
    ASSERT_TRUE(headless());
    set_message_box_answer(0);

    testing::internal::CaptureStderr();
    EXPECT_EQ(message_box("Error 4", "No window", false), answer_ok);
    EXPECT_EQ(message_box("Fault", "Go on?", true), answer_no);
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("Error 4"), std::string::npos);
    EXPECT_NE(printed.find("No window"), std::string::npos);

    set_message_box_answer(answer_yes);
    testing::internal::CaptureStderr();
    EXPECT_EQ(message_box("Fault", "Go on?", true), answer_yes);
    EXPECT_EQ(message_box("Error", "Only OK", false), answer_ok);
    testing::internal::GetCapturedStderr();

    set_message_box_answer(0);
    setenv("ZORBEL_MESSAGE_ANSWER", "yes", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(message_box("Fault", "Go on?", true), answer_yes);
    set_message_box_answer(answer_no);   // the program's own setting wins
    EXPECT_EQ(message_box("Fault", "Go on?", true), answer_no);
    testing::internal::GetCapturedStderr();
    unsetenv("ZORBEL_MESSAGE_ANSWER");
    set_message_box_answer(0);
}

TEST(media_system, system_texts) {
    EXPECT_EQ(os_version(), "");
    errno = 0;
    EXPECT_EQ(last_system_error(), "");
    errno = ENOENT;
    EXPECT_EQ(last_system_error(), std::strerror(ENOENT));
    errno = 0;
}

// ---- the fault hook, in child processes ----

void print_and_return(const char* description, int code, uintptr_t) {
    std::fprintf(stderr, "hook: %s (%d)\n", description, code);
}

TEST(media_fault_hook_death, a_division_by_zero_reaches_the_hook_then_kills) {
    EXPECT_EXIT(
        {
            install_fault_hook(print_and_return);
            std::printf("%d", divide_for_real(1, 0));
        },
        testing::KilledBySignal(SIGFPE), "hook: Attempted division by zero \\(8\\)");
}

TEST(media_fault_hook_death, a_bad_pointer_is_an_access_violation) {
    EXPECT_EXIT(
        {
            install_fault_hook(print_and_return);
            store_through_null();
        },
        testing::KilledBySignal(SIGSEGV), "hook: Access violation");
}

sigjmp_buf resume_point;
volatile int faults_seen = 0;
volatile int quotient = 0;

void jump_back(const char* description, int, uintptr_t) {
    std::fprintf(stderr, "%s; ", description);
    faults_seen = faults_seen + 1;
    siglongjmp(resume_point, 1);
}

TEST(media_fault_hook_death, the_hook_may_jump_back_and_catch_the_next_fault_too) {
    EXPECT_EXIT(
        {
            install_fault_hook(jump_back);
            sigsetjmp(resume_point, 1);
            if (faults_seen < 2) quotient = divide_for_real(faults_seen, 0);
            std::fprintf(stderr, "resumed after %d\n", static_cast<int>(faults_seen));
            std::exit(3);
        },
        testing::ExitedWithCode(3),
        "Attempted division by zero; Attempted division by zero; resumed after 2");
}

// ---- sound, on the dummy audio driver ----

TEST(media_sound, sounds_load_play_stop_and_free) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    temp_folder folder;
    EXPECT_EQ(load_sound(folder.write("early.wav", wav_bytes(100))), 0);   // no service yet
    ASSERT_TRUE(start_sound_service());
    register_decoders();
    std::string beep = folder.write("beep.wav", wav_bytes(2000));
    int sound = load_sound(beep);
    ASSERT_NE(sound, 0);
    EXPECT_TRUE(sound_exists(sound));
    play_sound(sound, false);
    play_sound(sound, true);
    stop_sound(sound);
    free_sound(sound);
    EXPECT_FALSE(sound_exists(sound));
    play_sound(sound, true);
    stop_sound(sound);
    free_sound(sound);
    EXPECT_NE(load_sound(beep), sound);
    EXPECT_EQ(load_sound(folder.path() + "/missing.ogg"), 0);
    EXPECT_EQ(load_sound(folder.write("junk.ogg", "junk")), 0);

    int music = load_music(beep);
    ASSERT_NE(music, 0);
    EXPECT_TRUE(music_exists(music));
    play_music_stream(music, true);
    stop_music_stream();
    play_music_stream(music, false);
    free_music_stream(music);
    EXPECT_FALSE(music_exists(music));
    play_music_stream(music, true);
    EXPECT_EQ(load_music(folder.path() + "/missing.ogg"), 0);
    shutdown_media();
    EXPECT_FALSE(sound_exists(sound));
}

}  // namespace
