#include "world/interned_name.h"

#include <deque>
#include <ostream>
#include <unordered_map>

namespace {

// Names are never removed: every index handed out stays valid, and the deque
// never moves a text once stored.
struct name_table {
    std::deque<std::string> texts{std::string()};
    std::unordered_map<std::string_view, uint32_t> indices{{std::string_view(), 0u}};
};

name_table& table() {
    static name_table names;   // built on first use, so constants in headers may intern
    return names;
}

}  // namespace

uint32_t interned_name::index_of(std::string_view text) {
    name_table& names = table();
    auto found = names.indices.find(text);
    if (found != names.indices.end()) return found->second;
    const auto index = uint32_t(names.texts.size());
    names.texts.emplace_back(text);
    names.indices.emplace(names.texts.back(), index);
    return index;
}

const std::string& interned_name::text_of(uint32_t index) { return table().texts[index]; }

std::ostream& operator<<(std::ostream& out, interned_name name) { return out << name.str(); }

size_t interned_name_count() { return table().texts.size(); }
