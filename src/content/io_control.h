// Loaders of images, definitions, sounds and worlds; level set-up.
#pragma once

#include <string>

#include "content/floaters.h"
#include "content/level_setup.h"
#include "content/object_definitions.h"
#include "content/sound_list.h"
#include "content/tile_definitions.h"

// Start values of every content global.
void init_content_globals();
