// DATA/ini.txt, the configuration the game reads at start: the pack's tuning
// (tile size, clock, enemies, the labyrinths' seed) lives here, beside the
// images and levels it was tuned with.
#include "world_data.h"

#include <string>
#include <utility>
#include <vector>

#include "pack.h"

namespace fs = std::filesystem;

namespace pack {

bool write_configuration(const fs::path& data_dir) {
    // Tuned with `zorbel-tool play` (docs/pack.md): 64-pixel tiles fill the
    // screen with the first level; a clock tick of 150 frames and the seed
    // 2157 give a first level without enemies or objects on the start cell,
    // and levels that get harder as they grow.
    const std::vector<std::pair<std::string, std::string>> keys = {
        {"APPNAME", "Zorbel"},
        {"RESBASEW", "1024"},
        {"RESBASEH", "768"},
        {"RESOLUTION", "64"},
        {"MAPSIZE", "128"},
        {"WORLDRANDOM", "2157"},
        {"WORLDREFRESH", "149"},
        {"CURSORSPEED", "247"},
        {"MULTICORE", "1"},
        {"MULTITASK", "0"},
        {"WINDOWMODE", "0"},
        {"SMOOTH", "1"},
        {"GAMEMODE", "DEFAULT"},
        {"DEBUGMODE", "0"},
        {"USESPRITE3D", "1"},
        {"USESELFCREATEBASE", "1"},
        {"SELFCREATEBASE", "DATA\\level.base"},
        {"APPENTRY", "WORLDS\\"},
        {"APPSTART", "ZORBEL"},
        {"RGBCODEPATH", "DATA\\TILES\\"},
        {"TOPOGFX", "GFX\\TILES\\"},
        {"GFXCODEC", ".png"},
        {"WORLDGFX", "GFX\\OBJECTS\\"},
        {"MAXFOE", "8"},
        {"LABSWITCH", "6"},
        {"USEEXTENDEDTOPO", "0"},
        {"USEFULLMATRIX", "0"},
        {"VEGIDENSE", "100"},
        {"WORLDTEMPERATURE", "15.0"},
        {"CURSOR", "GFX\\cursor.png"},
        {"FONTPATH", "GFX\\FONT"},
        {"FONTSYSTEM", "DATA\\font.txt"},
        {"TOPSCREEN", "GFX\\glass.png"},
        {"USETOPGLASS", "1"},
        {"FULLSCREENZOOM", "1.0"},
        {"EGFXPATH", "GFX\\FLOAT\\"},
        {"EGFXMAX", "6"},
        {"SCREGFXPATH", "GFX\\MENUFLOAT\\"},
        {"SCREGFXMAX", "6"},
        {"LOADSCREEN", "GFX\\credits#.png"},
        {"LOADINTROSCREEN", "GFX\\menu.png"},
        {"LOADANIM", ""},
        {"GFXPATH", "GFX\\"},
        {"BASICGFX", "GFX\\"},
        {"TOPO", "DATA\\"},
        {"SAVEGFX", ""},
        {"SAVEEVOLUTION", ""},
        {"SCRSAVE", "SCREENSHOTS\\zorbel"},
        {"SYSTEMCORE", "DATA\\"},
        {"CORENAME", "core"},
        {"LOGPATH", "LOG\\"},
        {"LOGFILE", "zorbel.log"},
        {"USELOGFILE", "1"},
        {"PROFILES", "PROFILES\\"},
        {"HIGHSCORE", "DATA\\"},
        {"HIGHSCORE_FILE", "highscore.txt"},
        {"SOUNDFXPATH", "SFX\\"},
        {"INGAMEMUSIC", "MUSIC\\"},
        {"OPTIONSMUSIC", "options.ogg"},
        {"MENUMUSIC", "menu.ogg"},
        {"GRIMBLEWOOD1", "credits1.ogg"},
        {"GRIMBLEWOOD", "credits2.ogg"},
        {"TIMERSOUND", "timer.ogg"},
        {"ENDTIMERSOUND", "timer.ogg"},
        {"DEFTILESOUND", "step.ogg"},
        {"FIXEDTILESOUND", "fixed.ogg"},
        {"PINKTILEFIXEDSOUND", "pinkfixed.ogg"},
        {"BOMBPICKUPSOUND", "pickbomb.ogg"},
        {"EXPLOSIONSOUND", "explosion.ogg"},
        {"GAMEOVER", "gameover.ogg"},
        {"SWAPSOUND", "swap.ogg"},
        {"PICKBOMBSOUND", "pickbomb.ogg"},
        {"LEVELDONE", "leveldone.ogg"},
        {"EXTRATIME", "extratime.ogg"},
        {"REMOVETILE", "removetile.ogg"},
        {"USESCALER", "0"},
    };
    std::vector<std::string> lines;
    for (const auto& [key, value] : keys) {
        lines.push_back(key);
        lines.push_back(value);
    }
    return write_lines(data_dir / "DATA" / "ini.txt", lines);
}

}  // namespace pack
