// Whole new files written all or nothing.
#include <algorithm>
#include <filesystem>

#include "media_test_helpers.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> names_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(media_new_file, writes_the_bytes_exactly_and_leaves_nothing_else) {
    temp_folder folder;
    const std::string bytes = std::string("A\r\nB\0C", 6);
    ASSERT_TRUE(write_new_file(folder.path() + "\\one.txt", bytes));
    EXPECT_EQ(folder.read("one.txt"), bytes);
    EXPECT_EQ(names_in(folder.path()), std::vector<std::string>{"one.txt"});
    ASSERT_TRUE(write_new_file(folder.path() + "/empty.txt", "", false));
    EXPECT_EQ(file_size(folder.path() + "/empty.txt"), 0);
    EXPECT_EQ(names_in(folder.path()), (std::vector<std::string>{"empty.txt", "one.txt"}));
}

TEST(media_new_file, never_replaces_or_shortens_an_existing_file) {
    temp_folder folder;
    folder.write("kept.txt", "a much longer old content");
    EXPECT_FALSE(write_new_file(folder.path() + "/kept.txt", "new"));
    EXPECT_EQ(folder.read("kept.txt"), "a much longer old content");
    EXPECT_EQ(names_in(folder.path()), std::vector<std::string>{"kept.txt"});
}

TEST(media_new_file, fails_cleanly_where_nothing_can_be_written) {
    temp_folder folder;
    EXPECT_FALSE(write_new_file(folder.path() + "/missing/x.txt", "x"));
    EXPECT_FALSE(write_new_file(folder.path() + "/", "x"));
    fs::create_directories(folder.path() + "/sub");
    EXPECT_FALSE(write_new_file(folder.path() + "/sub", "x"));
    EXPECT_EQ(names_in(folder.path()), std::vector<std::string>{"sub"});
}
