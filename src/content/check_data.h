// The data checker for modders: reads a pack as the game would and lists what
// would silently not work, each with its file and line.
#pragma once

#include <string>
#include <vector>

struct data_finding {
    bool error = true;   // false: a warning, the pack still works as meant
    std::string file;    // relative to the pack's folder, with "/"
    int line = 0;        // 0: the file as a whole
    std::string text;
};

// Checks the pack whose DATA/ini.txt lies in `folder`. Sets the configuration
// globals as the game would, and nothing else.
std::vector<data_finding> check_data(const std::string& folder);

// "error: DATA/ini.txt:12: ..." or "warning: GFX/OBJECTS/bomb.dll: ...".
std::string format_finding(const data_finding& finding);
