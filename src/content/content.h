// Loaders of images, definitions, sounds and worlds; level set-up.
#pragma once

#include <string>

#include "content/floaters.h"
#include "content/level_setup.h"
#include "core/sound_list.h"
#include "world/object_definitions.h"
#include "world/tile_definitions.h"

// Start values of every content global.
void init_content_globals();
