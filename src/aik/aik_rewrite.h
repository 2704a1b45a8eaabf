// Changing numbers of an engine file in place: the file keeps every other
// byte (comments, CP932 text, CR LF line ends, the spacing of the tables),
// and each changed number keeps its place and its way of being written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "aik/aik_number.h"

namespace nusari {

// The numbers of the engine file `bytes` (named `path`, whose folder holds
// its book) in file order, as the loader reads them; false when the file
// does not load.
bool LocateAikNumbers(const std::string& path, const std::string& bytes,
                      std::vector<AikNumber>& numbers);

// The values a number may be given so that the loader reads them back as
// written and keeps them: the digits its grammar reads, and the ranges the
// loader enforces (haba 1..100, zikan_wariai 1..100, edakari_hyouka 1 or more).
struct ValueRange {
    int32_t min = 0;
    int32_t max = 0;
    bool holds(int32_t v) const { return v >= min && v <= max; }
};
ValueRange ValidRange(const AikNumber& number);

// True when the two numbers set the same thing (their values and places may differ).
bool SameField(const AikNumber& a, const AikNumber& b);

// `bytes` with number i of `numbers` (located in `bytes`) written as
// values[i] wherever the two differ. A new value is written as the old one
// was: an explicit "+" and leading zeros stay; a table number stays right
// aligned in the blanks before it when it fits.
std::string RewriteAikNumbers(const std::string& bytes, const std::vector<AikNumber>& numbers,
                              const std::vector<int32_t>& values);

// RewriteAikNumbers, then a check that the loader reads the result with
// every number in place and of the value asked for; false (and `out` left
// alone) when it does not, or when a value is out of its valid range.
bool RewriteAikNumbersChecked(const std::string& path, const std::string& bytes,
                              const std::vector<AikNumber>& numbers,
                              const std::vector<int32_t>& values, std::string& out);

}  // namespace nusari
