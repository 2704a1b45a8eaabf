// The options a USI engine announces after "usi" ("option name Threads type
// spin default 1 min 1 max 512"), with the value the user chose for each.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nusari {

struct UsiOption {
    std::string name;
    // spin, check, combo, string, button or filename.
    std::string type;
    std::string defaultValue;
    int64_t min = 0;  // spin only
    int64_t max = 0;
    std::vector<std::string> choices;  // combo only ("var")
    std::string value;                 // what is sent; the default at first
    bool operator==(const UsiOption&) const = default;
};

// Reads the words after "option" (or a whole "option ..." line); false for a
// line without a name or with an unknown type. A name or a string default
// may contain blanks: they run up to the next keyword. Safe on any bytes.
bool parseUsiOption(std::string_view line, UsiOption& option);

// The option as an engine announces it, without the leading "option ":
// what parseUsiOption reads back.
std::string usiOptionText(const UsiOption& option);

// Whether `value` is one the option takes: a whole number within min..max
// for spin, "true" or "false" for check, one of the choices for combo, any
// single line for string and filename; a button has no value.
bool usiOptionAccepts(const UsiOption& option, std::string_view value);

// The "setoption" line that gives the option its value; empty for a value
// the option does not take, or for a button.
std::string setOptionLine(const UsiOption& option);

}  // namespace nusari
