// What the media layer holds behind the handles, for tests and benchmarks;
// the game has no use for it.
#pragma once

int atlas_page_count();          // shared textures holding small sprites
// 1 + the index of the page the sprite's texels are on; 0 when it has a
// texture of its own, has no texture yet, or does not exist.
int sprite_page(int sprite);
