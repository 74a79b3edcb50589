// Text files, scans, new files and file watches: what lets the game trust a file.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "media_test_helpers.h"

namespace {

namespace fs = std::filesystem;
using strings = std::vector<std::string>;

strings all_lines(const std::string& path) {
    strings lines;
    const int file = open_read(path);
    EXPECT_NE(file, 0) << path;
    while (!end_of_file(file)) lines.push_back(read_line(file));
    close_file(file);
    return lines;
}

strings scan(const std::string& folder, const std::string& pattern, std::vector<bool>* folders = nullptr) {
    strings names;
    const int handle = scan_folder(folder, pattern);
    EXPECT_NE(handle, 0);
    while (next_entry(handle)) {
        names.push_back(entry_name(handle));
        if (folders) folders->push_back(entry_is_folder(handle));
    }
    end_scan(handle);
    return names;
}

// A file of `bytes` zero bytes that takes no room on the disk.
std::string sparse_file(const temp_folder& folder, const std::string& name, long long bytes) {
    const std::string path = folder.write(name, "");
    EXPECT_EQ(truncate(path.c_str(), bytes), 0);
    return path;
}

TEST(MediaFiles, LinesEndAtCrLfLfOrCrAndAreCutAtTheLimit) {
    temp_folder folder;
    const std::string long_line(text_line_limit + 100, 'x');
    const struct { const char* name; std::string bytes; strings lines; } cases[] = {
        {"mixed", "one\r\ntwo\nthree\rfour", {"one", "two", "three", "four"}},
        {"empty_lines", "a\r\n\r\n\n\rb\r\n", {"a", "", "", "", "b"}},
        {"nothing", "", {}},
        // The rest of a long line is skipped: the next line is whole.
        {"long", long_line + "\r\nnext", {long_line.substr(0, text_line_limit), "next"}}};
    for (const auto& c : cases) EXPECT_EQ(all_lines(folder.write(c.name, c.bytes)), c.lines) << c.name;
    EXPECT_EQ(all_lines(folder.path() + "\\mixed").size(), 4u) << "a backslash separates folders";

    // 2 GB with no line end: one cut line, then the file reads as ended.
    const int file = open_read(sparse_file(folder, "huge", 2LL << 30));
    ASSERT_NE(file, 0);
    EXPECT_EQ(read_line(file), std::string(text_line_limit, '\0'));
    EXPECT_TRUE(end_of_file(file));
    EXPECT_EQ(read_line(file), "");
    close_file(file);
}

TEST(MediaFiles, ReadWriteKeepsOldContentAndCreatesMissingFiles) {
    temp_folder folder;
    const std::string old_file = folder.write("old.txt", "hello world");
    int file = open_read_write(old_file);
    ASSERT_NE(file, 0);
    write_string(file, "HE");   // writing starts at the beginning
    close_file(file);
    EXPECT_EQ(folder.read("old.txt"), "HEllo world");

    file = open_read_write(folder.path() + "/new.txt");
    ASSERT_NE(file, 0);
    write_line(file, "USERNAME");
    write_string(file, "tail");
    close_file(file);
    EXPECT_EQ(folder.read("new.txt"), "USERNAME\r\ntail");
    EXPECT_EQ(open_read_write(folder.path() + "/no/such/folder/x.txt"), 0);
    EXPECT_EQ(open_append(folder.path()), 0) << "never into a folder";
}

TEST(MediaFiles, SizesTellMissingFilesFoldersAndPipesApart) {
    temp_folder folder;
    EXPECT_EQ(file_size(folder.path() + "/missing"), -1);
    EXPECT_EQ(file_size(folder.path()), -2);
    EXPECT_EQ(open_read(folder.path()), 0);
    const std::string pipe = folder.path() + "/LAB_FLOOR";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(open_read(pipe), 0) << "reached only if the open did not wait for a writer";
    EXPECT_EQ(open_read("/dev/zero"), 0);
}

TEST(MediaFiles, ScansMatchThePatternInBytewiseOrder) {
    temp_folder folder;
    for (const char* name : {"b.png", "B.png", "a.png", "a.txt", "_x.png", "a.png.bak"}) folder.write(name, "x");
    fs::create_directory(folder.path() + "/dir.png");
    std::vector<bool> folders;
    EXPECT_EQ(scan(folder.path(), "*.png", &folders), (strings{"B.png", "_x.png", "a.png", "b.png", "dir.png"}));
    EXPECT_EQ(folders, (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(scan(folder.path() + "\\", "a.*"), (strings{"a.png", "a.png.bak", "a.txt"}));
    EXPECT_EQ(scan(folder.path(), "*").size(), 7u) << "no . or ..";
    EXPECT_EQ(scan_folder(folder.path() + "/missing", "*"), 0);
}

TEST(MediaFiles, NewFilesAreWrittenExactlyAndNeverReplaceAnything) {
    temp_folder folder;
    const std::string bytes("A\r\nB\0C", 6);
    ASSERT_TRUE(write_new_file(folder.path() + "\\one.txt", bytes));
    EXPECT_EQ(folder.read("one.txt"), bytes);
    folder.write("kept.txt", "a much longer old content");
    EXPECT_FALSE(write_new_file(folder.path() + "/kept.txt", "new"));
    EXPECT_EQ(folder.read("kept.txt"), "a much longer old content");
    for (const char* where : {"/missing/x.txt", "/"})
        EXPECT_FALSE(write_new_file(folder.path() + where, "x")) << where;
}

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
    file_stamp first, replaced, soft, none;
    ASSERT_TRUE(read_file_stamp(folder.path() + "\\a.txt", first));
    EXPECT_FALSE(first.linked);
    // A copy that keeps the old modified time still differs.
    const std::string copy = folder.write("b.txt", "two");
    fs::last_write_time(copy, fs::last_write_time(path));
    fs::rename(copy, path);
    ASSERT_TRUE(read_file_stamp(path, replaced));
    EXPECT_EQ(replaced.modified_ns, first.modified_ns);
    EXPECT_NE(replaced.inode, first.inode);
    fs::create_symlink(path, folder.path() + "/soft.txt");
    ASSERT_TRUE(read_file_stamp(folder.path() + "/soft.txt", soft));
    EXPECT_TRUE(soft.linked);
    EXPECT_FALSE(read_file_stamp(folder.path(), none)) << "a folder is not a file";
}

TEST(MediaWatch, EveryChangeToTheFileOrItsFolderMovesTheGeneration) {
    temp_folder folder;
    const std::string path = folder.write("DEFS/ONE", "1");
    folder.write("ELSEWHERE/X", "x");
    GenerationProbe probe{folder.path() + "\\DEFS\\ONE"};
    ASSERT_NE(probe.last, 0u);
    EXPECT_FALSE(probe.moved()) << "nothing changed";
    append(path, "2");
    EXPECT_TRUE(probe.moved()) << "written";
    fs::create_hard_link(path, folder.path() + "/ELSEWHERE/ONE");
    probe.moved();
    append(folder.path() + "/ELSEWHERE/ONE", "3");
    EXPECT_TRUE(probe.moved()) << "written through another name";
    folder.write("DEFS/TWO", "2");
    fs::rename(folder.path() + "/DEFS/TWO", path);
    EXPECT_TRUE(probe.moved()) << "replaced";
    append(path, "4");
    EXPECT_TRUE(probe.moved()) << "the new file is the one watched";
    fs::remove(path);
    EXPECT_TRUE(probe.moved()) << "removed";
    folder.write("ELSEWHERE/Y", "y");
    EXPECT_FALSE(probe.moved()) << "another folder's content is not watched";

    // A folder on the way replaced moves it too, and the new folder is the one watched.
    folder.write("DATA/TILES/T/ONE", "1");
    GenerationProbe deep{folder.path() + "/DATA/TILES/T/ONE"};
    fs::rename(folder.path() + "/DATA/TILES", folder.path() + "/DATA/OLD");
    folder.write("DATA/TILES/T/ONE", "2");
    EXPECT_TRUE(deep.moved());
    folder.write("DATA/TILES/T/ONE", "3");
    EXPECT_TRUE(deep.moved());
}

TEST(MediaWatch, PathsThatCannotBeWatchedGiveZero) {
    temp_folder folder;
    folder.write("REAL/ONE", "1");
    EXPECT_EQ(file_generation(folder.path() + "/MISSING/ONE"), 0u);
    fs::create_directory_symlink(folder.path() + "/REAL", folder.path() + "/LINK");
    EXPECT_EQ(file_generation(folder.path() + "/LINK/ONE"), 0u) << "a link could be pointed elsewhere unseen";
}

}  // namespace
