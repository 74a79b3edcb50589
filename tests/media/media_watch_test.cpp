// File stamps and folder watches: what lets the game trust a file it read.
#include <unistd.h>

#include <filesystem>

#include "media_test_helpers.h"

namespace fs = std::filesystem;

TEST(media_watch, stamps_tell_versions_and_links_apart) {
    temp_folder folder;
    const std::string path = folder.write("a.txt", "one");
    file_stamp first, again;
    ASSERT_TRUE(read_file_stamp(folder.path() + "\\a.txt", first));
    EXPECT_EQ(first.size, 3);
    EXPECT_TRUE(first.only_here);
    ASSERT_TRUE(read_file_stamp(path, again));
    EXPECT_EQ(again.modified_ns, first.modified_ns);
    EXPECT_EQ(again.inode, first.inode);

    // A copy that keeps the old modified time still differs.
    const std::string copy = folder.write("b.txt", "two");
    fs::last_write_time(copy, fs::last_write_time(path));
    fs::rename(copy, path);
    file_stamp replaced;
    ASSERT_TRUE(read_file_stamp(path, replaced));
    EXPECT_EQ(replaced.modified_ns, first.modified_ns);
    EXPECT_NE(replaced.inode, first.inode);

    fs::create_hard_link(path, folder.path() + "/hard.txt");
    fs::create_symlink(path, folder.path() + "/soft.txt");
    file_stamp hard, soft;
    ASSERT_TRUE(read_file_stamp(path, hard));
    ASSERT_TRUE(read_file_stamp(folder.path() + "/soft.txt", soft));
    EXPECT_FALSE(hard.only_here) << "edits may come through the other name";
    EXPECT_FALSE(soft.only_here);
    EXPECT_EQ(soft.inode, hard.inode) << "a link is stamped as its target";

    file_stamp none;
    EXPECT_FALSE(read_file_stamp(folder.path() + "/missing.txt", none));
    EXPECT_FALSE(read_file_stamp(folder.path(), none)) << "a folder is not a file";
}

TEST(media_watch, every_change_in_the_folder_moves_its_generation) {
    temp_folder folder;
    const std::string path = folder.write("DEFS/ONE", "1");
    folder.write("ELSEWHERE/X", "x");
    const std::string defs = folder.path() + "\\DEFS";
    const uint64_t start = folder_generation(defs);
    ASSERT_NE(start, 0u);
    EXPECT_EQ(folder_generation(defs), start) << "nothing changed";

    uint64_t last = start;
    auto moved = [&]() {
        const uint64_t now = folder_generation(defs);
        const bool changed = now != last;
        last = now;
        return changed;
    };
    { std::ofstream(path, std::ios::app) << "2"; }
    EXPECT_TRUE(moved()) << "written";
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(1));
    EXPECT_TRUE(moved()) << "time set";
    folder.write("DEFS/TWO", "2");
    EXPECT_TRUE(moved()) << "created";
    fs::rename(path, folder.path() + "/DEFS/THREE");
    EXPECT_TRUE(moved()) << "renamed";
    fs::remove(folder.path() + "/DEFS/TWO");
    EXPECT_TRUE(moved()) << "removed";
    EXPECT_FALSE(moved());
    folder.write("ELSEWHERE/Y", "y");
    EXPECT_FALSE(moved()) << "a sibling folder's content is not watched";
}

TEST(media_watch, a_folder_on_the_way_replaced_moves_the_generation) {
    temp_folder folder;
    folder.write("DATA/TILES/T/ONE", "1");
    const std::string defs = folder.path() + "/DATA/TILES/T";
    const uint64_t start = folder_generation(defs);
    ASSERT_NE(start, 0u);
    fs::rename(folder.path() + "/DATA/TILES", folder.path() + "/DATA/OLD");
    folder.write("DATA/TILES/T/ONE", "2");
    const uint64_t swapped = folder_generation(defs);
    EXPECT_NE(swapped, start);
    folder.write("DATA/TILES/T/ONE", "3");
    EXPECT_NE(folder_generation(defs), swapped) << "the new folder is the one watched";
}

TEST(media_watch, folders_that_cannot_be_watched_give_zero) {
    temp_folder folder;
    folder.write("REAL/ONE", "1");
    EXPECT_EQ(folder_generation(folder.path() + "/MISSING"), 0u);
    fs::create_directory_symlink(folder.path() + "/REAL", folder.path() + "/LINK");
    EXPECT_EQ(folder_generation(folder.path() + "/LINK"), 0u)
        << "the link could be pointed elsewhere without an event";
}
