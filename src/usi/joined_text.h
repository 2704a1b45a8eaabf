// Joining texts. Appended piecewise: GCC 12 warns falsely (-Wrestrict) on
// "literal" + std::string in optimised builds.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace nusari {

inline std::string joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) text += part;
    return text;
}

}  // namespace nusari
