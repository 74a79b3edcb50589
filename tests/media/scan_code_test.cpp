#include <gtest/gtest.h>

#include "media/media.h"

// The keys the event handler reads and the rest of the keyboard, named as
// the keyboard layer names them, land on the PC scan codes the game's tables use.
TEST(media_scan_codes, KeysLandOnTheirPcScanCodes) {
    struct key { const char* name; int code; };
    for (auto [name, code] :
         {key{"Escape", 0x01}, {"Backspace", 0x0E}, {"E", 0x12}, {"Y", 0x15}, {"Return", 0x1C},
          {"Left Ctrl", 0x1D}, {"A", 0x1E}, {"S", 0x1F}, {"D", 0x20}, {"H", 0x23},
          {"X", 0x2D}, {"C", 0x2E}, {"B", 0x30}, {"M", 0x32}, {"Left Alt", 0x38},
          {"Space", 0x39}, {"F12", 0x58}, {"Up", 0xC8}, {"PageUp", 0xC9}, {"Left", 0xCB},
          {"Right", 0xCD}, {"Down", 0xD0}, {"PageDown", 0xD1}, {"1", 0x02}, {"0", 0x0B},
          {"Q", 0x10}, {"Z", 0x2C}, {"Tab", 0x0F}, {"Left Shift", 0x2A}, {"F1", 0x3B},
          {"F11", 0x57}, {"Right Ctrl", 0x9D}, {"Delete", 0xD3}, {"Keypad Enter", 0x9C},
          {"no such key", 0}})
        EXPECT_EQ(scan_code_of_key(name), code) << name;
}
