// DATA/ini.txt read into the configuration variables.
#include <gtest/gtest.h>

#include <sstream>
#include <variant>

#include "core/configuration.h"
#include "game/startup.h"
#include "media/random.h"
#include "support/test_support.h"

namespace {

using setting = std::variant<std::string*, int32_t*, uint8_t*, float*>;

std::string value_of(setting s) {
    return std::visit([](auto* p) {
        std::ostringstream text;
        if constexpr (std::is_same_v<decltype(p), uint8_t*>) text << int(*p);
        else text << *p;
        return text.str();
    }, s);
}

class Configuration : public ::testing::Test {
protected:
    void SetUp() override { read(""); }
    void read(const std::string& text) {
        init_globals();
        base_folder = "/base\\";
        read_configuration(folder.write("ini.txt", text));
    }
    temp_folder folder;
};

}  // namespace

TEST_F(Configuration, KeysLandInTheirVariablesAndPathsTakeTheBaseFolder) {
    // A few keys of each kind; rows without a key check what the key above set besides its own variable.
    const struct { const char* key; const char* value; setting variable; bool prefixed = false; } rows[] = {
        {"SOUNDFXPATH", "SFX\\", &cfg_soundfxpath, true}, {"INGAMEMUSIC", "MUSIC\\", &cfg_ingamemusic},
        {"RESOLUTION", "24", &tile_width}, {"", "24", &tile_height}, {"CURSORSPEED", "250", &cfg_cursorspeed},
        {"", "5", &cursor_delay}, {"MAPSIZE", "64", &matrix_width}, {"", "64", &matrix_height},
        {"WORLDREFRESH", "30", &cfg_worldrefresh}, {"", "30", &clock_tick_limit}, {"GAMEMODE", "HARDCORE", &cfg_gamemode},
        // The sounds, screens and switches no other test reads from a file.
        {"TIMERSOUND", "ti", &cfg_timersound}, {"DEFTILESOUND", "de", &cfg_deftilesound}, {"FIXEDTILESOUND", "fi", &cfg_fixedtilesound},
        {"PINKTILEFIXEDSOUND", "pi", &cfg_pinktilefixedsound}, {"EXPLOSIONSOUND", "ex", &cfg_explosionsound},
        {"GAMEOVER", "ga", &cfg_gameover}, {"SWAPSOUND", "sw", &cfg_swapsound}, {"PICKBOMBSOUND", "pb", &cfg_pickbombsound},
        {"LEVELDONE", "le", &cfg_leveldone}, {"EXTRATIME", "et", &cfg_extratime}, {"REMOVETILE", "re", &cfg_removetile},
        {"GRIMBLEWOOD1", "g1", &cfg_grimblewood1}, {"GRIMBLEWOOD", "g", &cfg_grimblewood}, {"LOADSCREEN", "ls#", &cfg_loadscreen},
        {"LOADINTROSCREEN", "li", &cfg_loadintroscreen}, {"SCREGFXPATH", "MF", &cfg_scregfxpath}, {"SCREGFXMAX", "3", &cfg_scregfxmax},
        {"DEBUGMODE", "1", &cfg_debugmode}, {"USEEXTENDEDTOPO", "1", &cfg_useextendedtopo}};
    std::string text;
    for (const auto& row : rows)
        if (*row.key) text += std::string(row.key) + "\n" + row.value + "\n";
    read(text);
    for (const auto& row : rows)
        EXPECT_EQ(value_of(row.variable), (row.prefixed ? "/base\\" : "") + std::string(row.value))
            << row.key << " " << row.value;
}

// What a file makes of its values: defaults, clamps, syntax, line ends, lenient numbers.
TEST_F(Configuration, ValuesDefaultsAndSyntax) {
    const struct { std::string text; std::vector<std::pair<setting, std::string>> expect; } cases[] = {
        {"", {{&cfg_multicore, "1"}, {&cfg_smooth, "1"}, {&cfg_gamemode, "DEFAULT"}, {&cfg_egfxmax, "50"},
              {&cfg_scregfxmax, "50"}, {&cfg_worldrefresh, "60"}, {&clock_tick_limit, "60"}, {&tile_width, "-1"},
              {&matrix_width, "1"}, {&base_width, "1"}, {&cfg_fullscreenzoom, "1"}, {&cfg_soundfxpath, ""}}},
        {ini_text({{"MAPSIZE", "2000"}}), {{&matrix_width, "1024"}, {&matrix_height, "1024"}}},
        {ini_text({{"MAPSIZE", "-5"}}), {{&matrix_width, "32"}, {&matrix_height, "32"}}},
        {ini_text({{"MAPSIZE", "0"}}), {{&matrix_width, "0"}, {&matrix_height, "0"}}},
        {ini_text({{"CURSORSPEED", "300"}}), {{&cfg_cursorspeed, "255"}, {&cursor_delay, "0"}}},
        {ini_text({{"CURSORSPEED", "-1"}}), {{&cfg_cursorspeed, "0"}, {&cursor_delay, "255"}}},
        {ini_text({{"MULTICORE", "7"}}), {{&cfg_multicore, "1"}}},
        // A flag keeps the low 8 bits: 256 is off.
        {ini_text({{"USESPRITE3D", "256"}, {"SMOOTH", "257"}}), {{&cfg_usesprite3d, "0"}, {&cfg_smooth, "1"}}},
        // A lower-case key and a key with a trailing blank are skipped with their values.
        {ini_text({{"maxfoe", "3"}, {"MAXFOE ", "4"}, {"APPNAME", "kept"}}),
         {{&cfg_maxfoe, "0"}, {&cfg_appname, "kept"}}},
        {ini_text({{"USELOGFILE", "1"}, {"USELOGFILE", "0"}}), {{&cfg_uselogfile, "0"}}},   // the last one wins
        // A missing line shifts every later pair: the value line is read as a key.
        {"APPNAME\nMAXFOE\n6\n", {{&cfg_appname, "MAXFOE"}, {&cfg_maxfoe, "0"}}},
        // A last line that is a key gets an empty value.
        {"MAXFOE\n4\nLOGPATH", {{&cfg_maxfoe, "4"}, {&cfg_logpath, "/base\\"}}},
        {"APPNAME\r\nZorbel\r\nMAPSIZE\r\n40\r\nSOUNDFXPATH\r\nS\r\n",
         {{&cfg_appname, "Zorbel"}, {&matrix_width, "40"}, {&cfg_soundfxpath, "/base\\S"}}},
        {"APPNAME\rZorbel\rMAPSIZE\r40\rSOUNDFXPATH\rS\r",
         {{&cfg_appname, "Zorbel"}, {&matrix_width, "40"}, {&cfg_soundfxpath, "/base\\S"}}},
        {ini_text({{"MAXFOE", "many"}, {"RESOLUTION", "wide"}, {"EGFXMAX", " \t-12abc"}, {"FULLSCREENZOOM", "  +2.5x"},
                   {"MULTITASK", "+8"}}),
         {{&cfg_maxfoe, "0"}, {&tile_width, "0"}, {&cfg_egfxmax, "-12"}, {&cfg_fullscreenzoom, "2.5"},
          {&cfg_multitask, "8"}}},
    };
    int n = 0;
    for (const auto& c : cases) {
        read(c.text);
        for (const auto& [variable, expected] : c.expect) EXPECT_EQ(value_of(variable), expected) << "case " << n;
        ++n;
    }
    EXPECT_EQ(read_integer("99999999999"), int32_t(uint32_t(99999999999ull)));
    EXPECT_FLOAT_EQ(read_real("1e5"), 1.0f);
}

TEST_F(Configuration, WorldRandomSeedsAtEveryOccurrence) {
    random_seed(-9);
    int32_t expected = random(1000000);
    read(ini_text({{"WORLDRANDOM", "5"}, {"WORLDRANDOM", "-9"}}));
    EXPECT_EQ(cfg_worldrandom, -9);
    EXPECT_EQ(random(1000000), expected);
    // The seeding happens where the key stands, not at the end of the file.
    random_seed(5);
    random(7);
    int32_t after_one_draw = random(1000000);
    apply_configuration_entry("WORLDRANDOM", "5");
    random(7);
    EXPECT_EQ(random(1000000), after_one_draw);
}
