// The program on the desktop: command line, where it reads and writes, an installation.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <memory>

#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

// What a run leaves behind: every file by name, with its size and time.
std::map<std::string, std::string> listing(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::exists(folder) ? fs::recursive_directory_iterator(folder) : fs::recursive_directory_iterator()) {
        struct stat info;
        stat(entry.path().c_str(), &info);
        files[fs::relative(entry.path(), folder)] = std::to_string(info.st_size) + "@" +
            std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec);
    }
    return files;
}

size_t count_ending(const std::string& folder, const std::string& ending) {
    size_t n = 0;
    for (const auto& [name, stamp] : listing(folder)) n += name.ends_with(ending);
    return n;
}

// A pack that starts, writes a placeholder profile and the high-score file.
void small_pack(const temp_folder& pack) {
    pack.write("DATA/ini.txt", ini_text({{"RESBASEW", "320"}, {"RESBASEH", "200"}, {"APPNAME", "t"},
                                         {"PROFILES", "PROFILES\\"}, {"HIGHSCORE", "DATA\\"},
                                         {"HIGHSCORE_FILE", "hs.txt"}, {"LOGPATH", "LOG\\"},
                                         {"LOGFILE", "zorbel.log"}, {"USELOGFILE", "1"},
                                         {"SCRSAVE", "SCREENSHOTS\\shot"}}));
    fs::create_directories(pack.path() + "/PROFILES");
}

command_result zorbel(const std::string& flags, const std::string& cwd, const std::string& user_data = "/nonexistent",
                      const std::string& binary = ZORBEL_BINARY) {
    return run_command("XDG_DATA_HOME='" + user_data + "' " + binary + " " + flags, cwd);
}

TEST(CommandLine, HelpVersionAndWrongFlagsAnswerAtOnce) {
    const command_result help = zorbel("--help", "/");
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_NE(help.out.find("--replay FILE"), std::string::npos) << help.out;
    const command_result version = zorbel("--version", "/");
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.out, "zorbel " ZORBEL_VERSION "\n");
    // An unknown flag or a missing value: a short usage and status 2.
    for (const char* flags : {"--nonsense", "--frames 3 --replay", "extra"}) {
        const command_result run = zorbel(flags, "/");
        EXPECT_EQ(run.exit_code, 2) << flags;
        EXPECT_NE(run.out.find("usage: zorbel"), std::string::npos) << flags << ": " << run.out;
    }
}

TEST(CommandLine, DataNamingNoFolderOrNoPackIsRefusedWithAClearMessage) {
    temp_folder somewhere; somewhere.write("a_file", "x");
    for (const std::string& data : {somewhere.path() + "/missing", somewhere.path() + "/a_file"}) {
        const command_result run = zorbel("--headless --frames 1 --data '" + data + "'", "/");
        EXPECT_EQ(run.exit_code, 2);
        EXPECT_NE(run.out.find("zorbel: --data " + data + ": no such folder"), std::string::npos) << run.out;
    }
    // A folder that holds no pack: the game's own message names what it looked for.
    const command_result run = zorbel("--headless --frames 1 --data '" + somewhere.path() + "'", "/",
                                      somewhere.path() + "/user");
    EXPECT_NE(run.out.find("Could not open " + somewhere.path() + "\\DATA\\ini.txt"), std::string::npos) << run.out;
}

// Started beside DATA/ini.txt, the game reads and writes there, whatever the user's folder is.
TEST(Folders, APortablePackIsWrittenInAndTheUsersFolderLeftAlone) {
    temp_folder pack, user; small_pack(pack);
    const command_result run = zorbel("--headless --frames 3 --fullscreen", pack.path(), user.path());
    ASSERT_EQ(run.exit_code, 0) << run.out;
    EXPECT_EQ(run.out.find("fullscreen:"), std::string::npos) << run.out;
    EXPECT_EQ(count_ending(pack.path() + "/PROFILES", ".profile"), 1u);
    EXPECT_TRUE(fs::exists(pack.path() + "/DATA/hs.txt"));
    EXPECT_TRUE(listing(user.path()).empty());
}

// A pack named with --data is only read: what the game writes goes to $XDG_DATA_HOME/zorbel.
TEST(Folders, AGivenPackIsOnlyReadAndTheUsersFolderTakesWhatTheGameWrites) {
    temp_folder pack, user, elsewhere, scripts; small_pack(pack);
    const std::string screenshot = scripts.write("f12.txt", "3 keys F12\n4 keys -\n6 end\n");
    const auto before = listing(pack.path());
    for (const std::string& how : {std::string("--headless --frames 3"), "--replay " + screenshot}) {
        const command_result run = zorbel(how + " --data '" + pack.path() + "'", elsewhere.path(), user.path());
        ASSERT_EQ(run.exit_code, 0) << run.out;
    }
    EXPECT_EQ(listing(pack.path()), before);
    const std::string mine = user.path() + "/zorbel";
    EXPECT_EQ(count_ending(mine + "/PROFILES", ".profile"), 1u);
    EXPECT_TRUE(fs::exists(mine + "/DATA/hs.txt"));
    EXPECT_TRUE(fs::is_directory(mine + "/LOG"));
    EXPECT_EQ(count_ending(mine + "/SCREENSHOTS", ".bmp"), 1u);
    EXPECT_TRUE(listing(elsewhere.path()).empty());
}

// Files named on the command line are found from the folder they were typed in.
TEST(Folders, ReplayAndRecordFilesAreTakenFromTheFolderTheyWereNamedIn) {
    temp_folder pack, user, here; small_pack(pack);
    here.write("script.txt", "0 keys -\n4 focus-lost\n6 end\n");
    const command_result run =
        zorbel("--data '" + pack.path() + "' --replay script.txt --record copy.txt", here.path(), user.path());
    ASSERT_EQ(run.exit_code, 0) << run.out;
    EXPECT_NE(run.out.find("replay frames=6"), std::string::npos) << run.out;
    EXPECT_NE(here.read("copy.txt").find("\n4 focus-lost\n6 end\n"), std::string::npos) << here.read("copy.txt");
}

// One installation into a scratch prefix for all install tests.
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefix = std::make_unique<temp_folder>();
        install = run_command(std::string(ZORBEL_CMAKE) + " --install '" + ZORBEL_BUILD_DIR + "' --prefix '" +
                              prefix->path() + "'", "/");
    }
    static void TearDownTestSuite() { prefix.reset(); }
    void SetUp() override { ASSERT_EQ(install.exit_code, 0) << install.out; }
    static std::string path(const std::string& name) { return prefix->path() + "/" + name; }
    static inline std::unique_ptr<temp_folder> prefix;
    static inline command_result install;
};

// Everything lands where the desktop looks and holds nothing the game writes.
TEST_F(Installed, EverythingLandsWhereTheDesktopLooks) {
    const std::string desktop = path("share/applications/org.zorbel.Zorbel.desktop"),
                      metainfo = path("share/metainfo/org.zorbel.Zorbel.metainfo.xml");
    for (const std::string& file :
         {path("bin/zorbel"), path("share/zorbel/DATA/ini.txt"), desktop, metainfo,
          path("share/icons/hicolor/48x48/apps/org.zorbel.Zorbel.png")})
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
    for (const char* written : {"LOG", "SCREENSHOTS", "PROFILES", "DATA/highscore.txt"})
        EXPECT_FALSE(fs::exists(path(std::string("share/zorbel/") + written))) << written;
    // The software centre announces the version the program prints.
    EXPECT_NE(file_text(metainfo).find("<release version=\"" ZORBEL_VERSION "\""), std::string::npos);
}

// Installed and run from elsewhere: a game's result lands in the user's folder, the pack untouched.
TEST_F(Installed, TheInstalledGamePlaysItsPackAndKeepsTheResultInTheUsersFolder) {
    temp_folder user, elsewhere;
    elsewhere.write("game.txt", file_text(ZORBEL_SOURCE_DIR "/tests/desktop/installed_game.txt"));
    const auto pack_before = listing(path("share/zorbel"));
    const command_result run = zorbel("--replay game.txt", elsewhere.path(), user.path(), path("bin/zorbel"));
    ASSERT_EQ(run.exit_code, 0) << run.out;
    EXPECT_EQ(listing(path("share/zorbel")), pack_before);
    const std::string mine = user.path() + "/zorbel";
    ASSERT_EQ(count_ending(mine + "/PROFILES", ".profile"), 2u) << "the placeholder and the game";
    bool named = false;
    for (const auto& entry : fs::directory_iterator(mine + "/PROFILES"))
        named = named || (entry.path().extension() == ".profile" &&
                          file_text(entry.path()).starts_with("USERNAME\r\nQ\r\n"));
    EXPECT_TRUE(named) << "a profile of the player Q";
    EXPECT_TRUE(fs::exists(mine + "/DATA/highscore.txt"));
    EXPECT_EQ(listing(elsewhere.path()).size(), 1u) << "nothing written where it started";
}

}  // namespace
