// Text files and folder scans.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "media_test_helpers.h"

namespace {

std::vector<std::string> all_lines(const std::string& path) {
    std::vector<std::string> lines;
    int file = open_read(path);
    EXPECT_NE(file, 0);
    while (!end_of_file(file)) lines.push_back(read_line(file));
    close_file(file);
    return lines;
}

std::vector<std::string> scan(const std::string& folder, const std::string& pattern,
                              std::vector<bool>* folders = nullptr) {
    std::vector<std::string> names;
    int handle = scan_folder(folder, pattern);
    EXPECT_NE(handle, 0);
    while (next_entry(handle)) {
        names.push_back(entry_name(handle));
        if (folders) folders->push_back(entry_is_folder(handle));
    }
    EXPECT_FALSE(next_entry(handle));
    EXPECT_EQ(entry_name(handle), "");
    end_scan(handle);
    return names;
}

using strings = std::vector<std::string>;

TEST(media_files, lines_end_at_cr_lf_lf_or_cr) {
    temp_folder folder;
    EXPECT_EQ(all_lines(folder.write("mixed.txt", "one\r\ntwo\nthree\rfour")),
              (strings{"one", "two", "three", "four"}));
    EXPECT_EQ(all_lines(folder.write("empty_lines.txt", "a\r\n\r\n\n\rb\r\n")),
              (strings{"a", "", "", "", "b"}));
    EXPECT_EQ(all_lines(folder.write("bytes.txt", "\xE4\xF6\xFC\t x\n")),
              (strings{"\xE4\xF6\xFC\t x"}));
    EXPECT_EQ(all_lines(folder.write("nothing.txt", "")), strings{});
    EXPECT_EQ(all_lines(folder.write("lone_cr.txt", "\r")), strings{""});

    int file = open_read(folder.path() + "/mixed.txt");
    for (int i = 0; i < 4; ++i) read_line(file);
    EXPECT_TRUE(end_of_file(file));
    EXPECT_EQ(read_line(file), "");   // reading on at the end gives nothing
    close_file(file);
}

TEST(media_files, backslashes_work_as_folder_separators) {
    temp_folder folder;
    folder.write("sub/inner/file.txt", "x\r\n");
    std::string windows_path = folder.path() + "\\sub\\inner\\file.txt";
    EXPECT_EQ(native_path("DATA\\ini.txt"), "DATA/ini.txt");
    EXPECT_EQ(file_size(windows_path), 3);
    EXPECT_EQ(all_lines(windows_path), strings{"x"});
    EXPECT_EQ(scan(folder.path() + "\\sub\\", "*"), strings{"inner"});
}

TEST(media_files, read_write_keeps_old_content_and_creates_missing_files) {
    temp_folder folder;
    std::string old_file = folder.write("old.txt", "hello world");
    int file = open_read_write(old_file);
    ASSERT_NE(file, 0);
    write_string(file, "HE");   // writing starts at the beginning
    close_file(file);
    EXPECT_EQ(folder.read("old.txt"), "HEllo world");

    // Reading to the end first puts what is written after the old lines.
    file = open_read_write(old_file);
    while (!end_of_file(file)) read_line(file);
    write_line(file, "more");
    close_file(file);
    EXPECT_EQ(folder.read("old.txt"), "HEllo worldmore\r\n");

    std::string new_file = folder.path() + "/new.txt";
    file = open_read_write(new_file);
    ASSERT_NE(file, 0);
    EXPECT_EQ(file_size(new_file), 0);
    write_line(file, "USERNAME");
    write_line(file, "");
    write_string(file, "tail");
    close_file(file);
    EXPECT_EQ(folder.read("new.txt"), "USERNAME\r\n\r\ntail");
    EXPECT_EQ(all_lines(new_file), (strings{"USERNAME", "", "tail"}));

    EXPECT_EQ(open_read_write(folder.path() + "/no/such/folder/x.txt"), 0);
    EXPECT_EQ(open_read_write(folder.path()), 0);
}

TEST(media_files, sizes_tell_missing_files_and_folders_apart) {
    temp_folder folder;
    EXPECT_EQ(file_size(folder.write("five.bin", "12345")), 5);
    EXPECT_EQ(file_size(folder.write("zero.bin", "")), 0);
    EXPECT_EQ(file_size(folder.path() + "/missing"), -1);
    EXPECT_EQ(file_size(folder.path()), -2);
    EXPECT_EQ(open_read(folder.path()), 0);
    EXPECT_EQ(open_read(folder.path() + "/missing"), 0);
    EXPECT_EQ(current_directory(), std::filesystem::current_path().string());
}

TEST(media_files, pipes_and_devices_are_not_read_as_text_files) {
    temp_folder folder;
    const std::string pipe = folder.path() + "/LAB_FLOOR";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(open_read(pipe), 0) << "reached only if the open did not wait for a writer";
    EXPECT_EQ(open_read("/dev/zero"), 0);
}

TEST(media_files, scans_match_the_pattern_in_bytewise_order) {
    temp_folder folder;
    for (const char* name : {"b.png", "B.png", "a.png", "a.txt", "_x.png", "a.png.bak"})
        folder.write(name, "x");
    std::filesystem::create_directory(folder.path() + "/dir.png");

    std::vector<bool> folders;
    EXPECT_EQ(scan(folder.path(), "*.png", &folders),
              (strings{"B.png", "_x.png", "a.png", "b.png", "dir.png"}));
    EXPECT_EQ(folders, (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(scan(folder.path() + "/", "a.*"), (strings{"a.png", "a.png.bak", "a.txt"}));
    EXPECT_EQ(scan(folder.path(), "*").size(), 7u);   // no "." or ".."
    EXPECT_EQ(scan(folder.path(), "*.ogg"), strings{});
    EXPECT_EQ(scan_folder(folder.path() + "/missing", "*"), 0);
}

TEST(media_files, dead_file_and_scan_handles_do_nothing) {
    temp_folder folder;
    std::string path = folder.write("f.txt", "line\n");
    int file = open_read(path);
    int scan_handle = scan_folder(folder.path(), "*");
    close_file(file);
    end_scan(scan_handle);
    for (int dead : {0, file}) {
        EXPECT_EQ(read_line(dead), "");
        EXPECT_FALSE(end_of_file(dead));
        write_line(dead, "x");
        close_file(dead);
    }
    for (int dead : {0, scan_handle}) {
        EXPECT_FALSE(next_entry(dead));
        EXPECT_EQ(entry_name(dead), "");
        EXPECT_FALSE(entry_is_folder(dead));
        end_scan(dead);
    }
    EXPECT_EQ(folder.read("f.txt"), "line\n");
    int again = open_read(path);
    EXPECT_NE(again, file);   // never handed out twice
    close_file(again);
}

}  // namespace

namespace {

// A file of `bytes` zero bytes that takes no room on the disk.
std::string sparse_file(const temp_folder& folder, const std::string& name, long long bytes) {
    const std::string path = folder.write(name, "");
    EXPECT_EQ(truncate(path.c_str(), bytes), 0);
    return path;
}

}  // namespace

TEST(media_files, text_files_are_read_no_further_than_their_limits) {
    temp_folder folder;
    // A long line is cut and the rest of it skipped: the next line is whole.
    const std::string long_line(text_line_limit + 100, 'x');
    EXPECT_EQ(all_lines(folder.write("long.txt", long_line + "\r\nnext")),
              (strings{long_line.substr(0, text_line_limit), "next"}));

    // 2 GB with no line end: one cut line, then the file reads as ended.
    const std::string huge = sparse_file(folder, "huge", 2LL << 30);
    int file = open_read(huge);
    ASSERT_NE(file, 0);
    EXPECT_EQ(read_line(file), std::string(text_line_limit, '\0'));
    EXPECT_TRUE(end_of_file(file));
    EXPECT_EQ(read_line(file), "");
    close_file(file);
}

TEST(media_files, appending_writes_at_the_end_of_a_file_of_any_size) {
    temp_folder folder;
    const std::string log = sparse_file(folder, "big.log", text_file_limit + 10);
    int file = open_append(log);
    ASSERT_NE(file, 0);
    write_line(file, "REPORT");
    close_file(file);
    EXPECT_EQ(file_size(log), text_file_limit + 10 + 8);
    EXPECT_EQ(open_append(folder.path()), 0) << "a folder is no log";
    EXPECT_EQ(open_append(log + "/below"), 0);
}
