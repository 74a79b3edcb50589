// Configuration read from DATA\ini.txt, the start-up errors and the fault report.
#pragma once

#include <cstdint>
#include <string>

// ---- configuration variables (one per key) ----
extern std::string cfg_soundfxpath, cfg_ingamemusic, cfg_egfxpath, cfg_fontpath, cfg_fontsystem,
    cfg_topscreen, cfg_savegfx, cfg_scrsave, cfg_saveevolution, cfg_appname, cfg_gfxpath, cfg_topo,
    cfg_basicgfx, cfg_appentry, cfg_appstart, cfg_topogfx, cfg_gfxcodec, cfg_systemcore,
    cfg_corename, cfg_logpath, cfg_logfile, cfg_rgbcodepath, cfg_worldgfx, cfg_loadscreen,
    cfg_loadanim, cfg_profiles, cfg_highscore, cfg_highscore_file, cfg_cursor, cfg_selfcreatebase,
    cfg_gamemode, cfg_timersound, cfg_endtimersound, cfg_deftilesound, cfg_fixedtilesound,
    cfg_pinktilefixedsound, cfg_bombpickupsound, cfg_explosionsound, cfg_gameover, cfg_swapsound,
    cfg_pickbombsound, cfg_leveldone, cfg_extratime, cfg_optionsmusic, cfg_grimblewood1,
    cfg_grimblewood, cfg_menumusic, cfg_scregfxpath, cfg_loadintroscreen, cfg_removetile;
extern int32_t cfg_egfxmax, cfg_windowmode, cfg_multitask, cfg_maxfoe, cfg_cursorspeed,
    cfg_vegidense, cfg_worldrandom, cfg_worldrefresh, cfg_labswitch, cfg_scregfxmax, cfg_usescaler;
extern uint8_t cfg_usetopglass, cfg_useextendedtopo, cfg_usesprite3d, cfg_debugmode,
    cfg_uselogfile, cfg_usefullmatrix, cfg_multicore, cfg_useselfcreatebase, cfg_smooth;
extern float cfg_fullscreenzoom, cfg_worldtemperature;
extern float tile_width, tile_height;
extern int32_t matrix_width, matrix_height, base_width, base_height, cursor_delay;
extern int32_t clock_tick_limit;

extern std::string base_folder;   // the folder of the pack, ending in "\\"
extern std::string ini_path;

void init_configuration_globals();
void read_configuration(const std::string& path);
// Applies every pair of the file, starting nothing; false when it cannot be opened.
bool read_configuration_entries(const std::string& path);
void apply_configuration_entry(const std::string& key, const std::string& value);

// What a key's value line must hold, for checking a pack by hand-made rules.
enum class value_kind { text, integer, real };
// False for a key the configuration does not know.
bool configuration_key_kind(const std::string& key, value_kind& kind);

// Number reading as the configuration does it: blanks and tabs, sign, digits, stop.
int32_t read_integer(const std::string& text);
float read_real(const std::string& text);

// ---- errors ----
extern std::string status_text;   // set by error 13
void raise_error(int code);
[[noreturn]] void end_program();
