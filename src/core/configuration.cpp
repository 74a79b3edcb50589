#include "core/configuration.h"

#include <cctype>
#include <cstdlib>
#include <functional>
#include <unordered_map>

#include "core/error_codes.h"
#include "core/machine.h"
#include "media/media.h"
#include "media/random.h"

std::string cfg_soundfxpath, cfg_ingamemusic, cfg_egfxpath, cfg_fontpath, cfg_fontsystem,
    cfg_topscreen, cfg_savegfx, cfg_scrsave, cfg_saveevolution, cfg_appname, cfg_gfxpath, cfg_topo,
    cfg_basicgfx, cfg_appentry, cfg_appstart, cfg_topogfx, cfg_gfxcodec, cfg_systemcore,
    cfg_corename, cfg_logpath, cfg_logfile, cfg_rgbcodepath, cfg_worldgfx, cfg_loadscreen,
    cfg_loadanim, cfg_profiles, cfg_highscore, cfg_highscore_file, cfg_cursor, cfg_selfcreatebase,
    cfg_gamemode, cfg_timersound, cfg_endtimersound, cfg_deftilesound, cfg_fixedtilesound,
    cfg_pinktilefixedsound, cfg_bombpickupsound, cfg_explosionsound, cfg_gameover, cfg_swapsound,
    cfg_pickbombsound, cfg_leveldone, cfg_extratime, cfg_optionsmusic, cfg_grimblewood1,
    cfg_grimblewood, cfg_menumusic, cfg_scregfxpath, cfg_loadintroscreen, cfg_removetile;
int32_t cfg_egfxmax, cfg_windowmode, cfg_multitask, cfg_maxfoe, cfg_cursorspeed, cfg_vegidense,
    cfg_worldrandom, cfg_worldrefresh, cfg_labswitch, cfg_scregfxmax, cfg_usescaler;
uint8_t cfg_usetopglass, cfg_useextendedtopo, cfg_usesprite3d, cfg_debugmode, cfg_uselogfile,
    cfg_usefullmatrix, cfg_multicore, cfg_useselfcreatebase, cfg_smooth;
float cfg_fullscreenzoom, cfg_worldtemperature;
float tile_width, tile_height;
int32_t matrix_width, matrix_height, base_width, base_height, cursor_delay;
int32_t clock_tick_limit;

std::string base_folder;
std::string ini_path;

void init_configuration_globals() {
    for (std::string* text :
         {&cfg_soundfxpath, &cfg_ingamemusic, &cfg_egfxpath, &cfg_fontpath, &cfg_fontsystem,
          &cfg_topscreen, &cfg_savegfx, &cfg_scrsave, &cfg_saveevolution, &cfg_appname,
          &cfg_gfxpath, &cfg_topo, &cfg_basicgfx, &cfg_appentry, &cfg_appstart, &cfg_topogfx,
          &cfg_gfxcodec, &cfg_systemcore, &cfg_corename, &cfg_logpath, &cfg_logfile,
          &cfg_rgbcodepath, &cfg_worldgfx, &cfg_loadscreen, &cfg_loadanim, &cfg_profiles,
          &cfg_highscore, &cfg_highscore_file, &cfg_cursor, &cfg_selfcreatebase, &cfg_timersound,
          &cfg_endtimersound, &cfg_deftilesound, &cfg_fixedtilesound, &cfg_pinktilefixedsound,
          &cfg_bombpickupsound, &cfg_explosionsound, &cfg_gameover, &cfg_swapsound,
          &cfg_pickbombsound, &cfg_leveldone, &cfg_extratime, &cfg_optionsmusic,
          &cfg_grimblewood1, &cfg_grimblewood, &cfg_menumusic, &cfg_scregfxpath,
          &cfg_loadintroscreen, &cfg_removetile})
        text->clear();
    cfg_gamemode = "DEFAULT";
    cfg_windowmode = cfg_multitask = cfg_maxfoe = cfg_cursorspeed = 0;
    cfg_worldrandom = cfg_labswitch = cfg_usescaler = 0;
    cfg_egfxmax = cfg_scregfxmax = 50;
    cfg_vegidense = 100;
    cfg_worldrefresh = clock_tick_limit = 60;
    cfg_usetopglass = cfg_useextendedtopo = cfg_usesprite3d = cfg_debugmode = 0;
    cfg_uselogfile = cfg_usefullmatrix = cfg_useselfcreatebase = 0;
    cfg_multicore = cfg_smooth = 1;
    cfg_fullscreenzoom = 1.0f;
    cfg_worldtemperature = 15.0f;
    tile_width = tile_height = -1.0f;
    matrix_width = matrix_height = 1;
    base_width = base_height = 1;
    cursor_delay = 0;
    base_folder = current_directory();
    if (base_folder.empty() || base_folder.back() != '\\') base_folder += "\\";
    ini_path = base_folder + "DATA\\ini.txt";
}

int32_t read_integer(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulate wide and wrap to 32 bits, so a huge number cannot overflow.
    uint32_t value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        value = value * 10u + uint32_t(text[i++] - '0');
    return int32_t(negative ? 0u - value : value);
}

float read_real(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    if (i < text.size() && text[i] == '.') ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    // strtof on the bounded copy: no exponent, no "inf"/"nan" words.
    return std::strtof(text.substr(start, i - start).c_str(), nullptr);
}

namespace {

using setter = std::function<void(const std::string&)>;

struct entry {
    value_kind kind;
    setter set;
};

entry path(std::string& target) {
    return {value_kind::text, [&target](const std::string& v) { target = base_folder + v; }};
}
entry text(std::string& target) {
    return {value_kind::text, [&target](const std::string& v) { target = v; }};
}
entry integer(int32_t& target) {
    return {value_kind::integer, [&target](const std::string& v) { target = read_integer(v); }};
}
entry flag(uint8_t& target) {
    return {value_kind::integer,
            [&target](const std::string& v) { target = uint8_t(read_integer(v)); }};
}
entry real(float& target) {
    return {value_kind::real, [&target](const std::string& v) { target = read_real(v); }};
}

const std::unordered_map<std::string, entry>& entry_table() {
    static const std::unordered_map<std::string, entry> table = {
        {"SOUNDFXPATH", path(cfg_soundfxpath)},
        {"INGAMEMUSIC", text(cfg_ingamemusic)},
        {"EGFXPATH", path(cfg_egfxpath)},
        {"EGFXMAX", integer(cfg_egfxmax)},
        {"FONTPATH", path(cfg_fontpath)},
        {"FONTSYSTEM", path(cfg_fontsystem)},
        {"TOPSCREEN", path(cfg_topscreen)},
        {"USETOPGLASS", flag(cfg_usetopglass)},
        {"WINDOWMODE", integer(cfg_windowmode)},
        {"MULTITASK", integer(cfg_multitask)},
        {"SAVEGFX", text(cfg_savegfx)},
        {"SCRSAVE", text(cfg_scrsave)},
        {"SAVEEVOLUTION", text(cfg_saveevolution)},
        {"APPNAME", text(cfg_appname)},
        {"GFXPATH", path(cfg_gfxpath)},
        {"RESOLUTION",
         {value_kind::real,
          [](const std::string& v) { tile_width = tile_height = read_real(v); }}},
        {"TOPO", path(cfg_topo)},
        {"BASICGFX", path(cfg_basicgfx)},
        {"USEEXTENDEDTOPO", flag(cfg_useextendedtopo)},
        {"APPENTRY", text(cfg_appentry)},
        {"APPSTART", text(cfg_appstart)},
        {"TOPOGFX", path(cfg_topogfx)},
        {"GFXCODEC", text(cfg_gfxcodec)},
        {"SYSTEMCORE", path(cfg_systemcore)},
        {"CORENAME", text(cfg_corename)},
        {"USESPRITE3D", flag(cfg_usesprite3d)},
        {"DEBUGMODE", flag(cfg_debugmode)},
        {"MAXFOE", integer(cfg_maxfoe)},
        {"LOGPATH", path(cfg_logpath)},
        {"LOGFILE", text(cfg_logfile)},
        {"USELOGFILE", flag(cfg_uselogfile)},
        {"RGBCODEPATH", text(cfg_rgbcodepath)},
        {"WORLDGFX", path(cfg_worldgfx)},
        {"LOADSCREEN", text(cfg_loadscreen)},
        {"LOADANIM", text(cfg_loadanim)},
        {"FULLSCREENZOOM", real(cfg_fullscreenzoom)},
        {"PROFILES", text(cfg_profiles)},
        {"RESBASEW", integer(base_width)},
        {"RESBASEH", integer(base_height)},
        {"HIGHSCORE", path(cfg_highscore)},
        {"HIGHSCORE_FILE", text(cfg_highscore_file)},
        {"CURSOR", path(cfg_cursor)},
        {"CURSORSPEED",
         {value_kind::integer, [](const std::string& v) {
             int32_t speed = read_integer(v);
             cfg_cursorspeed = speed > 255 ? 255 : speed < 0 ? 0 : speed;
             cursor_delay = 255 - cfg_cursorspeed;
         }}},
        {"VEGIDENSE", integer(cfg_vegidense)},
        {"USEFULLMATRIX", flag(cfg_usefullmatrix)},
        {"WORLDRANDOM",
         {value_kind::integer, [](const std::string& v) {
             cfg_worldrandom = read_integer(v);
             random_seed(cfg_worldrandom);
         }}},
        {"MULTICORE",
         {value_kind::integer,
          [](const std::string& v) { cfg_multicore = uint8_t(read_integer(v)) == 0 ? 0 : 1; }}},
        {"MAPSIZE",
         {value_kind::integer, [](const std::string& v) {
             int32_t size = read_integer(v);
             if (size > 1024) size = 1024;
             if (size < 0) size = 32;
             matrix_width = matrix_height = size;
         }}},
        {"WORLDTEMPERATURE", real(cfg_worldtemperature)},
        {"WORLDREFRESH",
         {value_kind::integer,
          [](const std::string& v) { cfg_worldrefresh = clock_tick_limit = read_integer(v); }}},
        {"SELFCREATEBASE", path(cfg_selfcreatebase)},
        {"USESELFCREATEBASE", flag(cfg_useselfcreatebase)},
        {"LABSWITCH", integer(cfg_labswitch)},
        {"SMOOTH", flag(cfg_smooth)},
        {"GAMEMODE", text(cfg_gamemode)},
        {"TIMERSOUND", text(cfg_timersound)},
        {"ENDTIMERSOUND", text(cfg_endtimersound)},
        {"DEFTILESOUND", text(cfg_deftilesound)},
        {"FIXEDTILESOUND", text(cfg_fixedtilesound)},
        {"PINKTILEFIXEDSOUND", text(cfg_pinktilefixedsound)},
        {"BOMBPICKUPSOUND", text(cfg_bombpickupsound)},
        {"EXPLOSIONSOUND", text(cfg_explosionsound)},
        {"GAMEOVER", text(cfg_gameover)},
        {"SWAPSOUND", text(cfg_swapsound)},
        {"PICKBOMBSOUND", text(cfg_pickbombsound)},
        {"LEVELDONE", text(cfg_leveldone)},
        {"EXTRATIME", text(cfg_extratime)},
        {"OPTIONSMUSIC", text(cfg_optionsmusic)},
        {"GRIMBLEWOOD1", text(cfg_grimblewood1)},
        {"GRIMBLEWOOD", text(cfg_grimblewood)},
        {"MENUMUSIC", text(cfg_menumusic)},
        {"SCREGFXPATH", text(cfg_scregfxpath)},
        {"SCREGFXMAX", integer(cfg_scregfxmax)},
        {"LOADINTROSCREEN", text(cfg_loadintroscreen)},
        {"REMOVETILE", text(cfg_removetile)},
        {"USESCALER", integer(cfg_usescaler)},
    };
    return table;
}

void start_media_services() {
    start_screen_service();
    start_blended_service();
    start_sound_service();
    start_keyboard_service();
    joypad_present = start_joypad_service() ? 1 : 0;
}

}  // namespace

bool configuration_key_kind(const std::string& key, value_kind& kind) {
    const auto& table = entry_table();
    auto entry = table.find(key);
    if (entry == table.end()) return false;
    kind = entry->second.kind;
    return true;
}

void apply_configuration_entry(const std::string& key, const std::string& value) {
    const auto& table = entry_table();
    auto entry = table.find(key);
    if (entry != table.end()) entry->second.set(value);
}

bool read_configuration_entries(const std::string& path) {
    int file = open_read(path);
    if (file == 0) return false;
    while (!end_of_file(file)) {
        std::string key = read_line(file);
        // A file that ends after a key applies it with an empty value.
        std::string value = end_of_file(file) ? std::string() : read_line(file);
        apply_configuration_entry(key, value);
    }
    close_file(file);
    return true;
}

void read_configuration(const std::string& path) {
    if (!read_configuration_entries(path)) {
        raise_error(error_no_configuration);
        return;
    }
    start_media_services();
}
