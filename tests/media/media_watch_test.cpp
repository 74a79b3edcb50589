// File stamps and file watches: what lets the game trust a file it read.
#include <filesystem>
#include <fstream>

#include "media_test_helpers.h"

namespace {

namespace fs = std::filesystem;

// Tells whether the generation moved since the last look.
struct GenerationProbe {
    std::string path;
    uint64_t last = file_generation(path);
    bool moved() {
        const uint64_t now = file_generation(path);
        return std::exchange(last, now) != now;
    }
};

void append(const std::string& path, const char* text) { std::ofstream(path, std::ios::app) << text; }

TEST(MediaWatch, StampsTellVersionsAndSymbolicLinksApart) {
    temp_folder folder;
    const std::string path = folder.write("a.txt", "one");
    file_stamp first, again, replaced, hard, soft, none;
    ASSERT_TRUE(read_file_stamp(folder.path() + "\\a.txt", first));
    EXPECT_EQ(first.size, 3);
    EXPECT_FALSE(first.linked);
    ASSERT_TRUE(read_file_stamp(path, again));
    EXPECT_EQ(again.modified_ns, first.modified_ns);
    EXPECT_EQ(again.inode, first.inode);
    // A copy that keeps the old modified time still differs.
    const std::string copy = folder.write("b.txt", "two");
    fs::last_write_time(copy, fs::last_write_time(path)); fs::rename(copy, path);
    ASSERT_TRUE(read_file_stamp(path, replaced));
    EXPECT_EQ(replaced.modified_ns, first.modified_ns);
    EXPECT_NE(replaced.inode, first.inode);
    fs::create_hard_link(path, folder.path() + "/hard.txt");
    fs::create_symlink(path, folder.path() + "/soft.txt");
    ASSERT_TRUE(read_file_stamp(folder.path() + "/hard.txt", hard));
    ASSERT_TRUE(read_file_stamp(folder.path() + "/soft.txt", soft));
    EXPECT_FALSE(hard.linked);
    EXPECT_TRUE(soft.linked);
    EXPECT_EQ(soft.inode, hard.inode) << "a link is stamped as its target";
    EXPECT_FALSE(read_file_stamp(folder.path() + "/missing.txt", none));
    EXPECT_FALSE(read_file_stamp(folder.path(), none)) << "a folder is not a file";
}

TEST(MediaWatch, EveryChangeToTheFileOrItsFolderMovesTheGeneration) {
    temp_folder folder;
    const std::string path = folder.write("DEFS/ONE", "1");
    folder.write("ELSEWHERE/X", "x"); GenerationProbe probe{folder.path() + "\\DEFS\\ONE"};
    ASSERT_NE(probe.last, 0u);
    EXPECT_FALSE(probe.moved()) << "nothing changed";
    append(path, "2");
    EXPECT_TRUE(probe.moved()) << "written";
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(1));
    EXPECT_TRUE(probe.moved()) << "time set";
    fs::create_hard_link(path, folder.path() + "/ELSEWHERE/ONE"); probe.moved();
    append(folder.path() + "/ELSEWHERE/ONE", "3");
    EXPECT_TRUE(probe.moved()) << "written through another name";
    folder.write("DEFS/TWO", "2");
    EXPECT_TRUE(probe.moved()) << "a neighbour created";
    fs::rename(folder.path() + "/DEFS/TWO", path);
    EXPECT_TRUE(probe.moved()) << "replaced";
    append(path, "4");
    EXPECT_TRUE(probe.moved()) << "the new file is the one watched";
    fs::remove(path);
    EXPECT_TRUE(probe.moved()) << "removed";
    EXPECT_FALSE(probe.moved());
    folder.write("DEFS/ONE", "5");
    EXPECT_TRUE(probe.moved()) << "back again";
    folder.write("ELSEWHERE/Y", "y");
    EXPECT_FALSE(probe.moved()) << "another folder's content is not watched";

    // A folder on the way replaced moves it too, and the new folder is the one watched.
    folder.write("DATA/TILES/T/ONE", "1");
    GenerationProbe deep{folder.path() + "/DATA/TILES/T/ONE"};
    ASSERT_NE(deep.last, 0u);
    fs::rename(folder.path() + "/DATA/TILES", folder.path() + "/DATA/OLD");
    folder.write("DATA/TILES/T/ONE", "2");
    EXPECT_TRUE(deep.moved());
    folder.write("DATA/TILES/T/ONE", "3");
    EXPECT_TRUE(deep.moved());
    folder.write("DATA/OLD/T/ONE", "4");
    deep.moved();   // the old file may still report: no matter
    EXPECT_FALSE(deep.moved());
}

TEST(MediaWatch, PathsThatCannotBeWatchedGiveZero) {
    temp_folder folder; folder.write("REAL/ONE", "1");
    EXPECT_EQ(file_generation(folder.path() + "/MISSING/ONE"), 0u);
    fs::create_directory_symlink(folder.path() + "/REAL", folder.path() + "/LINK");
    EXPECT_EQ(file_generation(folder.path() + "/LINK/ONE"), 0u)
        << "the link could be pointed elsewhere without an event";
    EXPECT_NE(file_generation(folder.path() + "/REAL/NONE"), 0u)
        << "a missing file in a watched folder: its folder tells when it comes";
}

}  // namespace
