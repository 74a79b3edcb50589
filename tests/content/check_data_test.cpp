// The data checker: a clean pack passes silently; each modder's mistake is found at its file and line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "content/check_data.h"
#include "support/world_pack.h"

namespace {

using world_pack::bmp;
using world_pack::pairs;

const std::vector<std::pair<std::string, std::string>> clean_settings = {
    {"RESBASEW", "640"}, {"RESBASEH", "480"}, {"RESOLUTION", "16"}, {"MAPSIZE", "64"}, {"USESPRITE3D", "1"},
    {"USESELFCREATEBASE", "1"}, {"SELFCREATEBASE", "DATA\\level.base"}, {"APPENTRY", "WORLDS\\"}, {"APPSTART", "T"},
    {"RGBCODEPATH", "DATA\\TILES\\"}, {"TOPOGFX", "GFX\\TILES\\"}, {"GFXCODEC", ".png"},
    {"WORLDGFX", "GFX\\OBJECTS\\"}, {"CURSOR", "GFX\\cursor.png"}, {"FONTPATH", "GFX\\FONT"},
    {"FONTSYSTEM", "DATA\\font.txt"}, {"EGFXPATH", "GFX\\FLOAT\\"}, {"SCREGFXPATH", "GFX\\FLOAT\\"},
    {"LOADSCREEN", "GFX\\credits#.png"}, {"LOADINTROSCREEN", "GFX\\menu.png"}, {"SCRSAVE", "SHOTS\\z"},
    {"LOGPATH", "LOG\\"}, {"LOGFILE", "z.log"}, {"USELOGFILE", "1"}, {"PROFILES", "PROFILES\\"},
    {"SOUNDFXPATH", "SFX\\"}, {"INGAMEMUSIC", "MUSIC\\"}};

const char* const sound_keys[] = {"TIMERSOUND", "DEFTILESOUND", "FIXEDTILESOUND", "PINKTILEFIXEDSOUND",
                                  "EXPLOSIONSOUND", "GAMEOVER", "SWAPSOUND", "PICKBOMBSOUND", "LEVELDONE",
                                  "EXTRATIME", "REMOVETILE", "GRIMBLEWOOD1", "GRIMBLEWOOD"};

std::string ini_of(const std::vector<std::pair<std::string, std::string>>& settings) {
    std::string text;
    for (const auto& [key, value] : settings) text += key + "\r\n" + value + "\r\n";
    for (const char* key : sound_keys) text += std::string(key) + "\r\nbeep.ogg\r\n";
    return text;
}

class CheckData : public ::testing::Test {
protected:
    void SetUp() override {
        init_globals();
        folder.write("DATA/ini.txt", ini_of(clean_settings));
        world_pack::write_level_pack(folder);
        world_pack::write_painted_kinds(folder);
        folder.write("DATA/level.base", "BASE\r\n16\r\n12\r\n0\r\n0");
        folder.write("DATA/font.txt", "Ab.");
        for (const char* glyph : {"FONT/A", "FONT/_b", "FONT/POINT", "FLOAT/mote", "credits0", "credits1", "menu"})
            folder.write(std::string("GFX/") + glyph + ".png", bmp(8, 8, 0));
        for (const char* sound : {"SFX/beep.ogg", "MUSIC/menu.ogg", "MUSIC/options.ogg", "MUSIC/score.ogg"})
            folder.write(sound, "OggS");
        for (const char* written : {"SHOTS", "LOG", "PROFILES"}) folder.write(std::string(written) + "/.keep", "");
    }
    std::vector<data_finding> check() { return check_data(folder.path()); }
    // The one finding about `file`, which must be there.
    data_finding only_finding_in(const std::string& file) {
        std::vector<data_finding> found;
        for (const data_finding& f : check())
            if (f.file == file) found.push_back(f);
        EXPECT_EQ(found.size(), 1u) << listing(check());
        return found.empty() ? data_finding{} : found.front();
    }
    static std::string listing(const std::vector<data_finding>& findings) {
        std::string text;
        for (const data_finding& f : findings) text += format_finding(f) + "\n";
        return text;
    }
    void rename(const std::string& from, const std::string& to) {
        std::rename((folder.path() + "/" + from).c_str(), (folder.path() + "/" + to).c_str());
    }
    void remove(const std::string& name) { std::remove((folder.path() + "/" + name).c_str()); }
    temp_folder folder;
};

bool says(const data_finding& finding, const std::string& part) { return finding.text.find(part) != std::string::npos; }

TEST_F(CheckData, ACleanPackHasNothingToSay) { EXPECT_EQ(listing(check()), ""); }

TEST_F(CheckData, AMissingValueLineShiftsThePairsAndIsFoundWhereItStarts) {
    // LAB_WALL: the value of USECOLLISION is gone, so VALUE1 became its value.
    world_pack::tile_definition(folder, "LAB_WALL", pairs({{"GFXNAME", "wall.png"}}) + "USECOLLISION\r\n" + pairs({{"VALUE1", "0"}}));
    data_finding wall = only_finding_in("DATA/TILES/T/LAB_WALL");
    EXPECT_EQ(std::tuple(wall.error, wall.line), std::tuple(true, 4));
    EXPECT_TRUE(says(wall, "\"VALUE1\", itself a key")) << wall.text;
    // An extra line at the top of ini.txt: every key now stands on a value line.
    folder.write("DATA/ini.txt", "Zorbel\r\n" + ini_of(clean_settings));
    data_finding ini = only_finding_in("DATA/ini.txt");
    EXPECT_EQ(ini.line, 1);
    EXPECT_TRUE(says(ini, "\"Zorbel\" is no key and the line after it is the key \"RESBASEW\"")) << ini.text;
}

TEST_F(CheckData, UnknownKeysAndKeysInTheWrongCase) {
    world_pack::object(folder, "gem", 0, pairs({{"DGFXNAME", "GEM"}, {"DSCOREX", "50"}, {"dgfxshow", "1"}}));
    EXPECT_EQ(listing(check()),
              "error: GFX/OBJECTS/gem.dll:3: unknown key \"DSCOREX\": the game skips it and its value line\n"
              "error: GFX/OBJECTS/gem.dll:5: \"dgfxshow\" is no key: keys are written exactly, \"DGFXSHOW\"\n");
    // The slots beyond the fourth are known to modders but have no place.
    world_pack::tile_definition(folder, "LAB_GREEN", pairs({{"GFXNAME", "green.png"}, {"#CHILD5", "GEM"}}));
    data_finding extra = only_finding_in("DATA/TILES/T/LAB_GREEN");
    EXPECT_EQ(std::tuple(extra.error, extra.line), std::tuple(false, 3));
}

TEST_F(CheckData, NamesOfImagesThatDoNotExistAndNearMissesOfLetterCase) {
    world_pack::tile_definition(folder, "LAB_GREEN", pairs({{"GFXNAME", "Green.png"}}));
    data_finding green = only_finding_in("DATA/TILES/T/LAB_GREEN");
    EXPECT_EQ(green.line, 2);
    EXPECT_TRUE(says(green, "(GFX/TILES/green.png differs only in letter case)")) << green.text;
    // Without GFXNAME the tile shows dummy.png, which must then be there.
    world_pack::tile_definition(folder, "LAB_GREEN", pairs({{"VALUE1", "1"}}));
    remove("GFX/TILES/dummy.png");
    EXPECT_TRUE(says(only_finding_in("DATA/TILES/T/LAB_GREEN"), "shows dummy.png"));
    rename("GFX", "gfx");   // the marker named in ini.txt, through a folder of another case
    EXPECT_NE(listing(check()).find("GFX/cursor.png does not exist (gfx/cursor.png differs"), std::string::npos);
}

TEST_F(CheckData, SoundsAndMusicThatAreNotThere) {
    rename("SFX/beep.ogg", "SFX/Beep.ogg");
    remove("MUSIC/score.ogg");
    const std::vector<data_finding> found = check();
    const auto count = [&](bool error, const std::string& part) {
        return std::count_if(found.begin(), found.end(), [&](const data_finding& f) { return f.error == error && says(f, part); });
    };
    EXPECT_EQ(count(true, "names the sound \"beep.ogg\", which SFX/ does not hold as an .ogg file (SFX/Beep.ogg differs "
                          "only in letter case)"), std::ssize(sound_keys)) << listing(found);
    EXPECT_EQ(count(false, "has no score.ogg"), 1) << listing(found);
}

TEST_F(CheckData, ObjectsWithoutANameOrADefinitionAndChildrenNoObjectHas) {
    world_pack::object(folder, "gem", 0, pairs({{"DSCORE", "50"}}));
    data_finding gem = only_finding_in("GFX/OBJECTS/gem.dll");
    EXPECT_TRUE(says(gem, "has no DGFXNAME")) << gem.text;
    EXPECT_TRUE(says(gem, "it never lies on a tile")) << gem.text;
    // So LAB_FLOOR's first child names nothing.
    data_finding floor = only_finding_in("DATA/TILES/T/LAB_FLOOR");
    EXPECT_EQ(floor.line, 4);
    EXPECT_TRUE(says(floor, "CHILD1 names \"GEM\", which no object's DGFXNAME gives")) << floor.text;
    remove("GFX/OBJECTS/bomb.dll");
    data_finding bomb = only_finding_in("GFX/OBJECTS/bomb.png");
    EXPECT_TRUE(says(bomb, "its definition GFX/OBJECTS/bomb.dll does not exist")) << bomb.text;
    folder.write("GFX/OBJECTS/lost.dll", pairs({{"DGFXNAME", "LOST"}}));
    data_finding lost = only_finding_in("GFX/OBJECTS/lost.dll");
    EXPECT_FALSE(lost.error);
    // An image whose ending differs in case is not listed: its definition is never read.
    folder.write("GFX/OBJECTS/lost.PNG", bmp(8, 8, 0));
    lost = only_finding_in("GFX/OBJECTS/lost.dll");
    EXPECT_TRUE(lost.error && says(lost, "(GFX/OBJECTS/lost.PNG differs only in letter case)")) << lost.text;
}

TEST_F(CheckData, NumbersThatAreNotNumbersAndMissingKindsAndGlyphs) {
    world_pack::tile_definition(folder, "LAB_GREEN",
                                pairs({{"GFXNAME", "green.png"}, {"VALUE1", "ten"}, {"ROTATE", "12 degrees"}}));
    EXPECT_EQ(listing(check()), "error: DATA/TILES/T/LAB_GREEN:4: VALUE1 \"ten\" is not a number: it reads as 0\n"
                                "warning: DATA/TILES/T/LAB_GREEN:6: ROTATE \"12 degrees\" reads as 12: the rest of the line is ignored\n");
    rename("DATA/TILES/T/LAB_WATER", "DATA/TILES/T/LAB_Water");
    data_finding water = only_finding_in("DATA/TILES/T/LAB_WATER");
    EXPECT_TRUE(water.error && says(water, "(DATA/TILES/T/LAB_Water differs only in letter case)")) << water.text;
    folder.write("DATA/font.txt", "Abc");
    data_finding font = only_finding_in("DATA/font.txt");
    EXPECT_EQ(font.line, 1);
    EXPECT_TRUE(says(font, "\"c\" has no image GFX/FONT/_c.png")) << font.text;
    remove("DATA/TILES/T/LAB_GREEN");   // a folder where a file should be
    folder.write("DATA/TILES/T/LAB_GREEN/x", "");
    EXPECT_TRUE(says(only_finding_in("DATA/TILES/T/LAB_GREEN"), "is a folder"));
}

TEST_F(CheckData, LevelBaseAndWorldFilesTooShortAndAMapTooLarge) {
    folder.write("DATA/level.base", "BASE\r\n16\r\n");
    data_finding base = only_finding_in("DATA/level.base");
    EXPECT_TRUE(says(base, "is too short (2 lines)")) << base.text;
    std::vector<std::pair<std::string, std::string>> settings = clean_settings;
    for (auto& [key, value] : settings) {
        if (key == "USESELFCREATEBASE") value = "0";
        if (key == "MAPSIZE") value = "700";
    }
    folder.write("DATA/ini.txt", ini_of(settings));
    // Two columns of two rows: the file holds three cells, one of a kind without a definition.
    folder.write("WORLDS/T.ai42", "W\n1\n1\n0\n0\nLAB_\nWA\nLL\nLAB_\nFLO\nOR\nLAB_\nLAV\nA\n");
    folder.write("WORLDS/T.red", "A\n\n\n\n\n255\nhalf\n");   // the optional alpha file
    EXPECT_EQ(listing(check()),
              "error: DATA/ini.txt:8: MAPSIZE 700 is above 512: no level grows beyond 512 x 512 cells\n"
                  "error: WORLDS/T.ai42: is too short: it holds 3 of the 4 cells its lines 2 and 3 give\n"
                  "warning: WORLDS/T.red: holds 2 of the 4 alpha values: the other cells keep their definitions' alpha\n"
                  "error: WORLDS/T.red:7: the alpha \"half\" is not a number: it reads as 0\n"
                  "error: WORLDS/T.ai42:12: the tile kind LAB_LAVA has no definition DATA/TILES/T/LAB_LAVA\n");
}

TEST_F(CheckData, TheToolSaysEachFindingOnALineAndExitsByErrors) {
    EXPECT_EQ(run_command(std::string(ZORBEL_TOOL) + " check-data " + folder.path()).out, "check-data: 0 errors, 0 warnings\n");
    world_pack::tile_definition(folder, "LAB_GREEN", pairs({{"GFXNAME", "green.png"}, {"ROTATE", "9x"}, {"X", "1"}}));
    command_result broken = run_command(std::string(ZORBEL_TOOL) + " check-data " + folder.path());
    EXPECT_EQ(broken.exit_code, 1);
    EXPECT_TRUE(broken.out.ends_with(":5: unknown key \"X\": the game skips it and its value line\ncheck-data: 1 error, 1 warning\n"))
        << broken.out;
    for (const std::string& arguments : {std::string(), " " + folder.path() + "/nope"})
        EXPECT_EQ(run_command(std::string(ZORBEL_TOOL) + " check-data" + arguments).exit_code, 2) << arguments;
}

}   // namespace
