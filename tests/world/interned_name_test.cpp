#include <gtest/gtest.h>

#include "world/interned_name.h"

TEST(InternedName, ComparesLikeAStringOfBytes) {
    interned_name name = std::string("LAB_WALL");
    EXPECT_NE(name, "LAB_WAL");
    EXPECT_NE(name, "lab_wall") << "case counts";
    EXPECT_EQ(interned_name("LAB_WALL").index(), name.index()) << "one entry per text";
    const std::string odd("A\0\xE9", 3);   // a zero byte and Latin-1 survive
    EXPECT_EQ(interned_name(odd).str(), odd);
    EXPECT_NE(interned_name(odd), "A");
}

TEST(InternedName, AReferenceKeepsItsTextWhenTheNameChangesOrNamesAreAdded) {
    interned_name name = "LAB_BLUE_FLOOR";
    const std::string& before = name;
    name = "LAB_FIXED_FLOOR";
    for (int i = 0; i < 5000; ++i) interned_name(std::string("FILLER_") + std::to_string(i));
    EXPECT_EQ(std::tuple(before, name), std::tuple("LAB_BLUE_FLOOR", "LAB_FIXED_FLOOR"));
}
