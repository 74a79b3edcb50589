// The end of a game: name entry and the high-score table.
#pragma once

void enter_high_score();
