// The blending factors of set_blending, numbered as the data files number them.
#pragma once

enum : int {
    blend_zero = 1, blend_one = 2, blend_source_colour = 3, blend_one_minus_source_colour = 4,
    blend_source_alpha = 5, blend_one_minus_source_alpha = 6, blend_destination_alpha = 7,
    blend_one_minus_destination_alpha = 8, blend_destination_colour = 9,
    blend_one_minus_destination_colour = 10, blend_source_alpha_saturate = 11
};

// Ordinary alpha blending, and the light that adds a text onto the picture.
constexpr int normal_source = blend_source_alpha, normal_destination = blend_one_minus_source_alpha;
constexpr int light_source = blend_one, light_destination = blend_source_alpha;
