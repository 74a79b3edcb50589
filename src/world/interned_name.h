// A name stored once for the whole program: a cell holds six of them, so a
// 513 x 513 matrix keeps 32-bit indices instead of 1.5 million strings.
// Reads like a const std::string; assignment and comparison take strings.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

class interned_name {
public:
    interned_name() = default;   // the empty name, also what a zero-filled cell holds
    interned_name(std::string_view text) : index_(index_of(text)) {}
    interned_name(const std::string& text) : index_(index_of(text)) {}
    interned_name(const char* text) : index_(index_of(text)) {}

    // The text stays where it is for the whole run: references taken from a
    // cell outlive any later change of the cell.
    const std::string& str() const { return text_of(index_); }
    operator const std::string&() const { return str(); }
    bool empty() const { return index_ == 0; }
    uint32_t index() const { return index_; }

    friend bool operator==(interned_name a, interned_name b) { return a.index_ == b.index_; }
    friend bool operator==(interned_name a, const std::string& b) { return a.str() == b; }
    friend bool operator==(interned_name a, const char* b) { return a.str() == b; }

private:
    static uint32_t index_of(std::string_view text);
    static const std::string& text_of(uint32_t index);
    uint32_t index_ = 0;
};

inline std::string operator+(const std::string& a, interned_name b) { return a + b.str(); }
inline std::string operator+(interned_name a, const std::string& b) { return a.str() + b; }
inline std::string operator+(const char* a, interned_name b) { return a + b.str(); }
inline std::string operator+(interned_name a, const char* b) { return a.str() + b; }
std::ostream& operator<<(std::ostream& out, interned_name name);

// How many different names exist so far (the empty one included).
size_t interned_name_count();
