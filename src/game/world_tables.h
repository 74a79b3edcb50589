// The world's global tables, and the high-score file made sure to exist.
#pragma once

void create_world_tables();
void ensure_high_score_file(int selector);
