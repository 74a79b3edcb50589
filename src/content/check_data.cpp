#include "content/check_data.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "content/check_data_rules.h"
#include "content/level_setup.h"
#include "core/configuration.h"
#include "core/pair_file.h"
#include "media/media.h"
#include "text/font_engine.h"
#include "world/object_definitions.h"
#include "world/tile_definitions.h"

using namespace data_check;

namespace {

struct pack_state {
    std::string ini;
    key_value_pairs settings;
    std::set<std::string> tile_images;
    std::map<std::string, std::string> object_names;   // DGFXNAME -> its file
    std::map<std::string, int> world_kinds;            // kind -> first line in the world file
};

int line_of(const pack_state& p, const std::string& key) { return value_line(p.settings, key); }

bool check_configuration(pack_state& p) {
    const look found = look_up(p.ini);
    if (found.what != on_disk::file) {
        error_at(p.ini, 0,
                 std::string(found.what == on_disk::folder ? "is a folder" : "does not exist") +
                     near_miss(found) + ": the game stops with \"Could not open " +
                     native_path(p.ini) + "\"");
        return false;
    }
    bool straight = true;
    if (!read_checked_pairs(p.ini, configuration_key_kind, p.settings, straight)) {
        error_at(p.ini, 0, "cannot be read: the game stops with \"Could not open\"");
        return false;
    }
    for (const auto& [key, value] : p.settings) apply_configuration_entry(key, value);
    // Shifted settings name nothing as meant: what they name is not looked at.
    return straight;
}

void check_sizes(const pack_state& p) {
    if (base_width < 1 || base_height < 1)
        error_at(p.ini, line_of(p, base_width < 1 ? "RESBASEW" : "RESBASEH"),
                 "RESBASEW and RESBASEH give the design size of the screen: both must be at "
                 "least 1");
    if (tile_width <= 0.0f)
        error_at(p.ini, line_of(p, "RESOLUTION"),
                 "RESOLUTION gives the tiles' size in pixels: it must be above 0");
    const std::string* map_size = last_value(p.settings, "MAPSIZE");
    const int32_t size = map_size ? read_integer(*map_size) : 1;
    if (size > 512)
        error_at(p.ini, line_of(p, "MAPSIZE"),
                 "MAPSIZE " + std::to_string(size) +
                     " is above 512: no level grows beyond 512 x 512 cells");
    else if (size < 1)
        warning_at(p.ini, line_of(p, "MAPSIZE"),
                   "MAPSIZE " + std::to_string(size) + " reads as " + std::to_string(matrix_width) +
                       ": every level is that small");
}

void check_folders(const pack_state& p) {
    const struct {
        const char* key;
        std::string folder;
        const char* what;
    } content[] = {
        {"TOPOGFX", cfg_topogfx, "the tile image folder"},
        {"WORLDGFX", cfg_worldgfx, "the object folder"},
        {"SOUNDFXPATH", cfg_soundfxpath, "the sound folder"},
        {"INGAMEMUSIC", in_pack(cfg_ingamemusic), "the music folder"},
        {"FONTPATH", cfg_fontpath, "the font image folder"},
        {"EGFXPATH", cfg_egfxpath, "the drifting image folder"},
        {"SCREGFXPATH", in_pack(cfg_scregfxpath), "the menu's drifting image folder"},
        {"APPSTART", in_pack(cfg_rgbcodepath + cfg_appstart), "the tile definition folder"},
    };
    for (const auto& c : content)
        need_folder(c.folder, p.ini, line_of(p, c.key), c.what, "everything in it is missing");

    // Played from its own folder, the game writes beside its pack into folders
    // it does not make; where one is missing, nothing is written, silently.
    const std::string screenshots = in_pack(cfg_scrsave);
    const struct {
        const char* key;
        std::string folder;
        bool used;
        const char* what;
        const char* consequence;
    } written[] = {
        {"PROFILES", cfg_profiles.empty() ? pack : in_pack(cfg_profiles), true,
         "the profile folder",
         "played from this folder, the game saves no result until it is made"},
        {"LOGPATH", cfg_logpath, cfg_uselogfile != 0, "the log folder",
         "played from this folder, the game logs no fault until it is made"},
        {"SCRSAVE", screenshots.substr(0, screenshots.find_last_of('/') + 1), !cfg_scrsave.empty(),
         "the screenshot folder", "played from this folder, F12 saves nothing until it is made"},
    };
    for (const auto& w : written)
        if (w.used) need_folder(w.folder, p.ini, line_of(p, w.key), w.what, w.consequence, false);
}

void check_named_files(const pack_state& p) {
    need_file(cfg_cursor, p.ini, line_of(p, "CURSOR"), "the marker image",
              "the marker is invisible");
    if (cfg_usetopglass == 1)
        need_file(cfg_topscreen, p.ini, line_of(p, "TOPSCREEN"), "the overlay image",
                  "no overlay is drawn");
    need_file(in_pack(cfg_loadintroscreen), p.ini, line_of(p, "LOADINTROSCREEN"),
              "the menu background", "the menus show none");
    const size_t mark = cfg_loadscreen.find('#');
    if (mark == std::string::npos) {
        warning_at(p.ini, line_of(p, "LOADSCREEN"),
                   "LOADSCREEN has no \"#\" (the page number): the credits show no picture");
    } else {
        for (const char* page : {"0", "1"})
            need_file(
                in_pack(cfg_loadscreen.substr(0, mark) + page + cfg_loadscreen.substr(mark + 1)),
                p.ini, line_of(p, "LOADSCREEN"), "the credits picture",
                "that credits page shows none");
    }
}

void check_sounds(const pack_state& p) {
    const std::set<std::string> effects = files_in(cfg_soundfxpath, "*.ogg");
    for (const char* key : {"TIMERSOUND", "DEFTILESOUND", "FIXEDTILESOUND", "PINKTILEFIXEDSOUND",
                            "EXPLOSIONSOUND", "GAMEOVER", "SWAPSOUND", "PICKBOMBSOUND", "LEVELDONE",
                            "EXTRATIME", "REMOVETILE", "GRIMBLEWOOD1", "GRIMBLEWOOD"}) {
        const std::string* name = last_value(p.settings, key);
        if (!name || name->empty()) {
            warning_at(p.ini, line_of(p, key),
                       std::string(key) + " names no sound: that moment is silent");
        } else if (effects.count(*name) == 0) {
            look found;
            const std::string other = entry_like(cfg_soundfxpath, *name);
            if (other == *name) {
                error_at(p.ini, line_of(p, key),
                         std::string(key) + " names " + shown(cfg_soundfxpath + other) +
                             ", which is a folder, not a sound");
                continue;
            }
            if (!other.empty()) found.near = native_path(cfg_soundfxpath) + other;
            error_at(p.ini, line_of(p, key),
                     std::string(key) + " names the sound " + quoted(*name) + ", which " +
                         shown(cfg_soundfxpath) + " does not hold as an .ogg file" +
                         near_miss(found));
        }
    }
    const std::string music = in_pack(cfg_ingamemusic);
    if (look_up(music).what != on_disk::folder) return;
    const std::set<std::string> tracks = files_in(music, "*.ogg");
    if (tracks.empty())
        warning_at(p.ini, line_of(p, "INGAMEMUSIC"),
                   "the music folder " + shown(music) + " holds no .ogg file: no music plays");
    for (const char* track : {"menu.ogg", "options.ogg", "score.ogg"})
        if (!tracks.empty() && tracks.count(track) == 0)
            warning_at(p.ini, line_of(p, "INGAMEMUSIC"),
                       "the music folder has no " + std::string(track) +
                           ": that menu plays no music of its own");
}

void check_floaters(const pack_state& p) {
    const struct {
        const char* key;
        std::string folder;
    } sets[] = {{"EGFXPATH", cfg_egfxpath}, {"SCREGFXPATH", in_pack(cfg_scregfxpath)}};
    for (const auto& set : sets)
        if (look_up(set.folder).what == on_disk::folder && files_in(set.folder, "*.png").empty())
            warning_at(p.ini, line_of(p, set.key),
                       shown(set.folder) + " holds no .png image: nothing drifts there");
}

void check_font(const pack_state& p) {
    if (!need_file(cfg_fontsystem, p.ini, line_of(p, "FONTSYSTEM"), "the font definition",
                   "no text is drawn"))
        return;
    check_size(cfg_fontsystem);
    const int file = open_read(cfg_fontsystem);
    const std::string line = read_line(file);
    close_file(file);
    if (line.empty()) error_at(cfg_fontsystem, 1, "names no characters: no text is drawn");
    std::set<std::string> seen;
    for (unsigned char c : line) {
        const std::string stem = glyph_image_stem(c);
        if (!seen.insert(stem).second) continue;
        const std::string image = cfg_fontpath + "\\" + stem + ".png";
        const look found = look_up(image);
        if (found.what != on_disk::file)
            error_at(cfg_fontsystem, 1,
                     "the character " + quoted(std::string(1, char(c))) + " has no image " +
                         shown(image) + near_miss(found) + ": it is not drawn");
    }
}

void check_objects(pack_state& p) {
    const std::set<std::string> images = files_in(cfg_worldgfx, "*" + cfg_gfxcodec);
    std::set<std::string> definitions_read;
    for (const std::string& image : images) {
        const std::string image_path = cfg_worldgfx + image;
        const std::string definition = object_definition_path(image_path);
        definitions_read.insert(native_path(definition));
        if (!need_file(definition, image_path, 0, "its definition",
                       "the object has no name and never lies on a tile"))
            continue;
        key_value_pairs pairs;
        bool straight = true;
        if (!read_checked_pairs(definition, object_definition_key_kind, pairs, straight) ||
            !straight)
            continue;
        const std::string* name = last_value(pairs, "DGFXNAME");
        if (!name) {
            error_at(definition, 0,
                     "has no DGFXNAME: no tile can name this object, so it never lies on a tile");
            continue;
        }
        const std::string given = name->empty() || *name == "#" ? "NOPE" : *name;
        if (!p.object_names.emplace(given, definition).second && given != "NOPE")
            warning_at(definition, value_line(pairs, "DGFXNAME"),
                       "DGFXNAME " + quoted(given) + " is also given by " +
                           shown(p.object_names[given]) + ": a child slot may spawn both");
    }
    for (const std::string& dll : files_in(cfg_worldgfx, "*.dll")) {
        if (definitions_read.count(native_path(cfg_worldgfx + dll)) != 0) continue;
        const std::string image = dll.substr(0, dll.size() - 4) + cfg_gfxcodec;
        look found;
        const std::string other = entry_like(cfg_worldgfx, image);
        if (!other.empty()) found.near = native_path(cfg_worldgfx) + other;
        report(!other.empty(), cfg_worldgfx + dll, 0,
               "has no image " + shown(cfg_worldgfx + image) + " beside it" + near_miss(found) +
                   ": the game never reads it");
    }
}

// What a tile definition names: its image and its children.
void check_tile_references(const pack_state& p, const std::string& path,
                           const key_value_pairs& pairs) {
    const std::string* gfx = last_value(pairs, "GFXNAME");
    const std::string image = gfx && !gfx->empty() ? *gfx : "dummy.png";
    if (p.tile_images.count(image) == 0) {
        look found;
        const std::string other = entry_like(cfg_topogfx, image);
        if (!other.empty()) found.near = native_path(cfg_topogfx) + other;
        error_at(
            path, value_line(pairs, "GFXNAME"),
            (gfx && !gfx->empty() ? "GFXNAME names " + quoted(image)
                                  : std::string("without a GFXNAME the tile shows dummy.png")) +
                ", which is no image of " + shown(cfg_topogfx) + near_miss(found));
    }
    for (const char* slot : {"CHILD1", "CHILD2", "CHILD3", "CHILD4"}) {
        const std::string* child = last_value(pairs, slot);
        if (!child || *child == "#") continue;
        if (p.object_names.count(*child) != 0) continue;
        std::string like;
        for (const auto& [name, file] : p.object_names)
            if (lower(name) == lower(*child))
                like = " (" + quoted(name) + ", given by " + shown(file) +
                       ", differs only in letter case)";
        error_at(path, value_line(pairs, slot),
                 std::string(slot) + " names " + quoted(*child) +
                     ", which no object's DGFXNAME gives: nothing spawns there" + like);
    }
    const std::string* direction = last_value(pairs, "USEDIRECTION");
    if (direction && !is_direction_word(*direction))
        warning_at(path, value_line(pairs, "USEDIRECTION"),
                   "USEDIRECTION " + quoted(*direction) +
                       " is none of DEFAULT, UP, DOWN, LEFT, RIGHT: the direction stays as it was");
}

void check_tiles(pack_state& p) {
    p.tile_images = files_in(cfg_topogfx, "*" + cfg_gfxcodec);
    const std::string folder = in_pack(cfg_rgbcodepath + cfg_appstart) + "/";
    if (look_up(folder).what != on_disk::folder) return;
    std::map<std::string, int> needed = p.world_kinds;
    for (const char* kind : {"LAB_WALL", "LAB_FLOOR", "LAB_GREEN", "LAB_WATER", "LAB_BLUE_FLOOR",
                             "LAB_FIXED_FLOOR", "LAB_PINK_FLOOR", "LAB_FIXED_PINK_FLOOR"})
        needed.emplace(kind, 0);
    for (const auto& [kind, line] : needed) {
        const std::string path = in_pack(tile_definition_path(kind));
        const look found = look_up(path);
        if (found.what == on_disk::file) continue;
        const std::string what = "the tile kind " + kind;
        if (found.what == on_disk::folder)
            error_at(path, 0, "is a folder: " + what + " has no definition");
        else if (line > 0)
            error_at(in_pack(cfg_appentry + cfg_appstart + ".ai42"), line,
                     what + " has no definition " + shown(path) + near_miss(found));
        else
            error_at(path, 0, what + " has no definition" + near_miss(found));
    }
    for (const std::string& name : files_in(folder, "*")) {
        const std::string path = folder + name;
        key_value_pairs pairs;
        bool straight = true;
        if (read_checked_pairs(path, tile_definition_key_kind, pairs, straight) && straight)
            check_tile_references(p, path, pairs);
    }
}

void check_level_base(const pack_state& p) {
    if (!need_file(cfg_selfcreatebase, p.ini, line_of(p, "SELFCREATEBASE"), "the level base file",
                   "the game stops with \"Could not open:\""))
        return;
    std::array<std::string, 5> lines;
    const int count = read_level_base_lines(cfg_selfcreatebase, lines);
    if (count < 3) {
        error_at(cfg_selfcreatebase, 0,
                 "is too short (" + std::to_string(count) +
                     " lines): lines 2 and 3 give the base width and height");
        return;
    }
    check_number(cfg_selfcreatebase, 2, "the base width", lines[1], value_kind::integer);
    check_number(cfg_selfcreatebase, 3, "the base height", lines[2], value_kind::integer);
}

// Lines of a file as the game's reader sees them.
int64_t count_lines(const std::string& path) {
    const int file = open_read(path);
    int64_t lines = 0;
    for (; file != 0 && !end_of_file(file); ++lines) read_line(file);
    close_file(file);
    return lines;
}

// The world's cells as the loader reads them, from the file at `path`.
void read_cells(const std::string& path, int32_t last_x, int32_t last_y, int lines_per_cell,
                const world_cell_reader& cell) {
    const int file = open_read(path);
    for (int header = 0; header < 5; ++header) read_line(file);
    read_world_cells(file, last_x, last_y, lines_per_cell, cell);
    close_file(file);
}

// The alpha file is optional; where it is there, it gives every cell a number.
void check_alpha(const std::string& path, int32_t last_x, int32_t last_y, int64_t cells) {
    if (look_up(path).what != on_disk::file) return;
    check_size(path);
    const int64_t whole = std::max<int64_t>(count_lines(path) - 5, 0);
    if (whole < cells)
        warning_at(path, 0,
                   "holds " + std::to_string(whole) + " of the " + std::to_string(cells) +
                       " alpha values: the other cells keep their definitions' alpha");
    int64_t at = 0;
    bool told = false;   // one number that is none is enough to say
    read_cells(path, last_x, last_y, 1, [&](int32_t, int32_t, const std::string& alpha) {
        const size_t before = findings.size();
        if (!told && at < whole)
            check_number(path, int(6 + at), "the alpha", alpha, value_kind::integer);
        told = told || findings.size() != before;
        ++at;
    });
}

void check_world(pack_state& p) {
    const std::string world = in_pack(cfg_appentry + cfg_appstart + ".ai42");
    if (!need_file(world, p.ini, line_of(p, "APPSTART"), "the world file",
                   "the game stops with \"Could not open topographic data\""))
        return;
    check_size(world);
    const int64_t lines = count_lines(world);
    if (lines < 3) {
        error_at(world, 0, "is too short: lines 2 and 3 give its last column and row");
        return;
    }
    const int file = open_read(world);
    read_line(file);
    const std::string last_column = read_line(file), last_row = read_line(file);
    close_file(file);
    check_number(world, 2, "the last column", last_column, value_kind::integer);
    check_number(world, 3, "the last row", last_row, value_kind::integer);
    const int32_t last_x = read_integer(last_column), last_y = read_integer(last_row);
    if (last_x > 512 || last_y > 512)
        warning_at(world, 2, "a world larger than 513 x 513 cells is cut to that size");
    const int64_t cells = std::max<int64_t>((int64_t(last_x) + 1) * (int64_t(last_y) + 1), 0);
    const int64_t whole = std::max<int64_t>((lines - 5) / 3, 0);
    if (whole < cells)
        error_at(world, 0,
                 "is too short: it holds " + std::to_string(whole) + " of the " +
                     std::to_string(cells) + " cells its lines 2 and 3 give");
    // A cell cut short by the file's end is set too, to a kind named by what
    // there is of it; the finding above says so.
    int64_t at = 0;
    read_cells(world, last_x, last_y, 3, [&](int32_t, int32_t, const std::string& kind) {
        if (at < whole) p.world_kinds.emplace(kind, int(6 + 3 * at));
        ++at;
    });
    check_alpha(in_pack(cfg_appentry + cfg_appstart + ".red"), last_x, last_y, cells);
}

void check_pack(pack_state& p) {
    if (!check_configuration(p)) return;
    check_sizes(p);
    check_folders(p);
    check_named_files(p);
    check_font(p);
    check_sounds(p);
    check_floaters(p);
    check_objects(p);
    if (cfg_useselfcreatebase == 1)
        check_level_base(p);
    else
        check_world(p);
    check_tiles(p);
}

}   // namespace

std::vector<data_finding> check_data(const std::string& folder) {
    pack = native_path(folder);
    if (pack.empty()) pack = "./";
    if (pack.back() != '/') pack += '/';
    findings.clear();
    init_configuration_globals();
    base_folder = pack;
    pack_state p;
    p.ini = pack + "DATA/ini.txt";
    check_pack(p);
    return std::move(findings);
}

std::string format_finding(const data_finding& finding) {
    std::string text = finding.error ? "error: " : "warning: ";
    text += finding.file;
    if (finding.line > 0) text += ":" + std::to_string(finding.line);
    return text + ": " + finding.text;
}
