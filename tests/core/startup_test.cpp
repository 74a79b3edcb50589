// The program started for real: its configuration, its window, its files.
#include <gtest/gtest.h>

#include "core/startup.h"
#include "core/system_ini.h"
#include "media/media.h"
#include "support/test_support.h"

namespace {

command_result game(const temp_folder& folder, const std::string& flags) {
    return run_command(std::string(ZORBEL_BINARY) + " --headless " + flags, folder.path());
}

void small_pack(const temp_folder& folder, const std::string& extra = "") {
    folder.write("DATA/ini.txt", ini_text({{"RESBASEW", "320"}, {"RESBASEH", "200"}, {"APPNAME", "t"}}) + extra);
}

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(StartUp, RunsTheGivenFramesAndEndsCleanlyWithOrWithoutThreads) {
    const struct { std::string extra, flags, shows; int thread_messages; } cases[] = {
        {"", "--frames 30", "", 0},
        {ini_text({{"MULTICORE", "0"}}), "--frames 20", "", 1},   // the message once, and the game runs
        // 320 x 200 design on a 300 x 400 desktop: a window of 300 x 200.
        {"", "--frames 3 --desktop 300x400", "300 x 200", 0}};
    for (const auto& c : cases) {
        temp_folder folder;
        small_pack(folder, c.extra);
        const command_result run = game(folder, c.flags);
        EXPECT_EQ(run.exit_code, 0) << c.flags << "\n" << run.out;
        EXPECT_EQ(count(run.out, "Could not create multithreading"), c.thread_messages) << c.flags << "\n" << run.out;
        EXPECT_NE(run.out.find(c.shows), std::string::npos) << c.flags << "\n" << run.out;
    }
}

TEST(StartUp, MissingConfigurationEndsBeforeAnyWindowAndUnknownFlagsGiveUsage) {
    temp_folder folder;
    command_result run = game(folder, "--frames 5");
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.out.find("Could not open " + folder.path() + "\\DATA\\ini.txt"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("renderer"), std::string::npos) << run.out;
    run = run_command(std::string(ZORBEL_BINARY) + " --nonsense");
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.out.find("usage: zorbel"), std::string::npos);
}

TEST(StartUp, HighScoreFileIsCreatedAndKept) {
    temp_folder folder;
    small_pack(folder, ini_text({{"HIGHSCORE", "DATA\\"}, {"HIGHSCORE_FILE", "hs.txt"}}));
    ASSERT_EQ(game(folder, "--frames 1").exit_code, 0);
    EXPECT_EQ(file_size(folder.path() + "/DATA/hs.txt"), 0);
    folder.write("DATA/hs.txt", "kept");
    ASSERT_EQ(game(folder, "--frames 1").exit_code, 0);
    EXPECT_EQ(folder.read("DATA/hs.txt"), "kept");
}

TEST(ScreenSize, DesignResolutionShrunkToTheDesktop) {
    // Without a design resolution (the last case sets none) the screen is a single pixel.
    const struct { int base_w, base_h, width, height; float screen_w, screen_h, scale; } cases[] = {
        {1024, 768, 1920, 1080, 1024, 768, 1.0f}, {1024, 768, 800, 600, 800, 600, 0.78125f},
        {0, 0, 1920, 1080, 1, 1, -1}};
    for (const auto& c : cases) {
        init_globals();
        if (c.base_w) base_width = c.base_w, base_height = c.base_h;
        set_fake_desktop(c.width, c.height);
        measure_screen();
        EXPECT_FLOAT_EQ(screen_width, c.screen_w) << c.width;
        EXPECT_FLOAT_EQ(screen_height, c.screen_h) << c.width;
        if (c.scale > 0) {
            EXPECT_FLOAT_EQ(screen_scale, c.scale) << c.width;
        }
    }
    set_fake_desktop(0, 0);
}
