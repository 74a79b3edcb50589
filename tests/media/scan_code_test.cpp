#include <gtest/gtest.h>

#include "media/media.h"

// The keys the event handler reads, named as the keyboard layer names them,
// land on the PC scan codes the game's tables use.
TEST(media_scan_codes, EventHandlerKeys) {
    struct key { const char* name; int code; };
    for (auto [name, code] :
         {key{"Escape", 0x01}, {"Backspace", 0x0E}, {"E", 0x12}, {"Y", 0x15}, {"Return", 0x1C},
          {"Left Ctrl", 0x1D}, {"A", 0x1E}, {"S", 0x1F}, {"D", 0x20}, {"H", 0x23},
          {"X", 0x2D}, {"C", 0x2E}, {"B", 0x30}, {"M", 0x32}, {"Left Alt", 0x38},
          {"Space", 0x39}, {"F12", 0x58}, {"Up", 0xC8}, {"PageUp", 0xC9}, {"Left", 0xCB},
          {"Right", 0xCD}, {"Down", 0xD0}, {"PageDown", 0xD1}})
        EXPECT_EQ(scan_code_of_key(name), code) << name;
}

TEST(media_scan_codes, RestOfTheKeyboard) {
    EXPECT_EQ(scan_code_of_key("1"), 0x02);
    EXPECT_EQ(scan_code_of_key("0"), 0x0B);
    EXPECT_EQ(scan_code_of_key("Q"), 0x10);
    EXPECT_EQ(scan_code_of_key("Z"), 0x2C);
    EXPECT_EQ(scan_code_of_key("Tab"), 0x0F);
    EXPECT_EQ(scan_code_of_key("Left Shift"), 0x2A);
    EXPECT_EQ(scan_code_of_key("F1"), 0x3B);
    EXPECT_EQ(scan_code_of_key("F11"), 0x57);
    EXPECT_EQ(scan_code_of_key("Right Ctrl"), 0x9D);
    EXPECT_EQ(scan_code_of_key("Delete"), 0xD3);
    EXPECT_EQ(scan_code_of_key("Keypad Enter"), 0x9C);
    EXPECT_EQ(scan_code_of_key("no such key"), 0);
}
