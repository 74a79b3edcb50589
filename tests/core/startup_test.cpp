// The program started for real: its configuration, its window, its files.
#include <gtest/gtest.h>

#include "core/configuration.h"
#include "game/startup.h"
#include "media/media.h"
#include "support/test_support.h"

namespace {

command_result game(const temp_folder& folder, const std::string& flags) {
    return run_command(std::string(ZORBEL_BINARY) + " --headless " + flags, folder.path());
}

void small_pack(const temp_folder& folder, const std::string& extra = "") {
    folder.write("DATA/ini.txt", ini_text({{"RESBASEW", "320"}, {"RESBASEH", "200"}, {"APPNAME", "t"}}) + extra);
}

}  // namespace

TEST(StartUp, RunsTheGivenFramesAndEndsCleanlyWithOrWithoutThreads) {
    const struct { std::string extra, flags, shows; int thread_messages; } cases[] = {
        {ini_text({{"MULTICORE", "0"}}), "--frames 20", "", 1},   // the message once, and the game runs
        // 320 x 200 design on a 300 x 400 desktop: a window of 300 x 200.
        {"", "--frames 3 --desktop 300x400", "300 x 200", 0}};
    for (const auto& c : cases) {
        temp_folder folder;
        small_pack(folder, c.extra);
        const command_result run = game(folder, c.flags);
        EXPECT_EQ(run.exit_code, 0) << c.flags << "\n" << run.out;
        const size_t message = run.out.find("Could not create multithreading");
        EXPECT_EQ(message == std::string::npos ? 0 : message == run.out.rfind("Could not create multithreading") ? 1 : 2, c.thread_messages)
            << c.flags << "\n" << run.out;
        EXPECT_NE(run.out.find(c.shows), std::string::npos) << c.flags << "\n" << run.out;
    }
}

TEST(StartUp, MissingConfigurationEndsBeforeAnyWindow) {
    temp_folder folder;
    command_result run = game(folder, "--frames 5");
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.out.find("Could not open " + folder.path() + "\\DATA\\ini.txt"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("renderer"), std::string::npos) << run.out;
}

