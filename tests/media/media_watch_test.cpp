// File stamps and file watches: what lets the game trust a file it read.
#include <unistd.h>

#include <filesystem>

#include "media_test_helpers.h"

namespace fs = std::filesystem;

namespace {

// Tells whether the generation moved since the last look.
class generation_probe {
public:
    explicit generation_probe(std::string path) : path_(std::move(path)) {
        last_ = file_generation(path_);
    }
    uint64_t last() const { return last_; }
    bool moved() {
        const uint64_t now = file_generation(path_);
        const bool changed = now != last_;
        last_ = now;
        return changed;
    }

private:
    std::string path_;
    uint64_t last_;
};

}  // namespace

TEST(media_watch, stamps_tell_versions_and_symbolic_links_apart) {
    temp_folder folder;
    const std::string path = folder.write("a.txt", "one");
    file_stamp first, again;
    ASSERT_TRUE(read_file_stamp(folder.path() + "\\a.txt", first));
    EXPECT_EQ(first.size, 3);
    EXPECT_FALSE(first.linked);
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
    ASSERT_TRUE(read_file_stamp(folder.path() + "/hard.txt", hard));
    ASSERT_TRUE(read_file_stamp(folder.path() + "/soft.txt", soft));
    EXPECT_FALSE(hard.linked);
    EXPECT_TRUE(soft.linked);
    EXPECT_EQ(soft.inode, hard.inode) << "a link is stamped as its target";

    file_stamp none;
    EXPECT_FALSE(read_file_stamp(folder.path() + "/missing.txt", none));
    EXPECT_FALSE(read_file_stamp(folder.path(), none)) << "a folder is not a file";
}

TEST(media_watch, every_change_to_the_file_or_its_folder_moves_the_generation) {
    temp_folder folder;
    const std::string path = folder.write("DEFS/ONE", "1");
    folder.write("ELSEWHERE/X", "x");
    generation_probe probe(folder.path() + "\\DEFS\\ONE");
    ASSERT_NE(probe.last(), 0u);
    EXPECT_FALSE(probe.moved()) << "nothing changed";

    { std::ofstream(path, std::ios::app) << "2"; }
    EXPECT_TRUE(probe.moved()) << "written";
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(1));
    EXPECT_TRUE(probe.moved()) << "time set";
    // Another name made elsewhere, then a write through it.
    fs::create_hard_link(path, folder.path() + "/ELSEWHERE/ONE");
    probe.moved();
    { std::ofstream(folder.path() + "/ELSEWHERE/ONE", std::ios::app) << "3"; }
    EXPECT_TRUE(probe.moved()) << "written through another name";
    folder.write("DEFS/TWO", "2");
    EXPECT_TRUE(probe.moved()) << "a neighbour created";
    fs::rename(folder.path() + "/DEFS/TWO", path);
    EXPECT_TRUE(probe.moved()) << "replaced";
    { std::ofstream(path, std::ios::app) << "4"; }
    EXPECT_TRUE(probe.moved()) << "the new file is the one watched";
    fs::remove(path);
    EXPECT_TRUE(probe.moved()) << "removed";
    EXPECT_FALSE(probe.moved());
    folder.write("DEFS/ONE", "5");
    EXPECT_TRUE(probe.moved()) << "back again";
    folder.write("ELSEWHERE/Y", "y");
    EXPECT_FALSE(probe.moved()) << "another folder's content is not watched";
}

TEST(media_watch, a_folder_on_the_way_replaced_moves_the_generation) {
    temp_folder folder;
    folder.write("DATA/TILES/T/ONE", "1");
    generation_probe probe(folder.path() + "/DATA/TILES/T/ONE");
    ASSERT_NE(probe.last(), 0u);
    fs::rename(folder.path() + "/DATA/TILES", folder.path() + "/DATA/OLD");
    folder.write("DATA/TILES/T/ONE", "2");
    EXPECT_TRUE(probe.moved());
    folder.write("DATA/TILES/T/ONE", "3");
    EXPECT_TRUE(probe.moved()) << "the new folder is the one watched";
    folder.write("DATA/OLD/T/ONE", "4");
    probe.moved();   // the old file may still report: no matter
    EXPECT_FALSE(probe.moved());
}

TEST(media_watch, paths_that_cannot_be_watched_give_zero) {
    temp_folder folder;
    folder.write("REAL/ONE", "1");
    EXPECT_EQ(file_generation(folder.path() + "/MISSING/ONE"), 0u);
    fs::create_directory_symlink(folder.path() + "/REAL", folder.path() + "/LINK");
    EXPECT_EQ(file_generation(folder.path() + "/LINK/ONE"), 0u)
        << "the link could be pointed elsewhere without an event";
    EXPECT_NE(file_generation(folder.path() + "/REAL/NONE"), 0u)
        << "a missing file in a watched folder: its folder tells when it comes";
}
