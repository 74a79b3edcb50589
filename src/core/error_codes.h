// The numbered errors of raise_error: the numbers the log and the players know.
#pragma once

enum : int {
    error_no_configuration = 0, error_no_threads = 1, error_no_screen = 2, error_silent = 3,
    error_no_window = 4, error_no_keyboard = 5, error_division_by_zero = 6,
    error_no_topography = 7, error_no_level_base = 8, error_no_profile = 13,
    error_no_cursor = 14, error_no_image_list = 15, error_no_thread = 16
};
