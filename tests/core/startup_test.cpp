#include <gtest/gtest.h>

#include "core/startup.h"
#include "core/system_ini.h"
#include "media/media.h"
#include "support/test_support.h"

namespace {

std::string game(const std::string& flags) {
    return std::string(ZORBEL_BINARY) + " --headless " + flags;
}

std::string small_pack(const temp_folder& folder, const std::string& extra = "") {
    return folder.write("DATA/ini.txt",
                        ini_text({{"RESBASEW", "320"}, {"RESBASEH", "200"}, {"APPNAME", "t"}}) +
                            extra);
}

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(StartUp, MissingConfigurationEndsBeforeAnyWindow) {
    temp_folder folder;
    command_result run = run_command(game("--frames 5"), folder.path());
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.out.find("Could not open " + folder.path() + "\\DATA\\ini.txt"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("renderer"), std::string::npos) << run.out;
}

TEST(StartUp, RunsTheGivenFramesAndEndsCleanly) {
    temp_folder folder;
    small_pack(folder);
    command_result run = run_command(game("--frames 30"), folder.path());
    EXPECT_EQ(run.exit_code, 0) << run.out;
    EXPECT_EQ(count(run.out, "Could not create multithreading"), 0) << run.out;
}

TEST(StartUp, WithoutThreadsTheMessageShowsOnceAndTheGameRuns) {
    temp_folder folder;
    small_pack(folder, ini_text({{"MULTICORE", "0"}}));
    command_result run = run_command(game("--frames 20"), folder.path());
    EXPECT_EQ(run.exit_code, 0) << run.out;
    EXPECT_EQ(count(run.out, "Could not create multithreading"), 1) << run.out;
}

TEST(StartUp, HighScoreFileIsCreatedAndKept) {
    temp_folder folder;
    small_pack(folder, ini_text({{"HIGHSCORE", "DATA\\"}, {"HIGHSCORE_FILE", "hs.txt"}}));
    ASSERT_EQ(run_command(game("--frames 1"), folder.path()).exit_code, 0);
    EXPECT_EQ(file_size(folder.path() + "/DATA/hs.txt"), 0);
    folder.write("DATA/hs.txt", "kept");
    ASSERT_EQ(run_command(game("--frames 1"), folder.path()).exit_code, 0);
    EXPECT_EQ(folder.read("DATA/hs.txt"), "kept");
}

TEST(StartUp, UnknownFlagsGiveUsage) {
    command_result run = run_command(std::string(ZORBEL_BINARY) + " --nonsense");
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.out.find("usage: zorbel"), std::string::npos);
}

TEST(ScreenSize, DesignResolutionShrunkToTheDesktop) {
    struct desktop_case { int width, height; float screen_w, screen_h, scale; };
    for (auto c : {desktop_case{1920, 1080, 1024, 768, 1.0f},
                   desktop_case{800, 600, 800, 600, 0.78125f}}) {
        init_globals();
        base_width = 1024;
        base_height = 768;
        set_fake_desktop(c.width, c.height);
        measure_screen();
        EXPECT_FLOAT_EQ(screen_width, c.screen_w);
        EXPECT_FLOAT_EQ(screen_height, c.screen_h);
        EXPECT_FLOAT_EQ(screen_scale, c.scale);
    }
    // Without a design resolution the screen is a single pixel.
    init_globals();
    set_fake_desktop(1920, 1080);
    measure_screen();
    EXPECT_FLOAT_EQ(screen_width, 1.0f);
    EXPECT_FLOAT_EQ(screen_height, 1.0f);
    set_fake_desktop(0, 0);
}

TEST(ScreenSize, TheWindowHasTheMeasuredSize) {
    temp_folder folder;
    small_pack(folder);
    // 320 x 200 design on a 300 x 400 desktop: 300 x 200.
    command_result run = run_command(game("--frames 3 --desktop 300x400"), folder.path());
    EXPECT_EQ(run.exit_code, 0) << run.out;
    EXPECT_NE(run.out.find("300 x 200"), std::string::npos) << run.out;
}
