// Splitting teacher games into the games the tuner learns from and the
// games it is judged on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nusari {

struct TeacherSplit {
    std::vector<std::string> training;
    std::vector<std::string> heldOut;
};

// Holds out `percent` (0..100) of the files, rounded up, spread evenly over
// them in byte order of their paths: with 20, the first of every five. The
// split depends only on the set of paths, not on their order in `files`.
TeacherSplit SplitTeacherGames(std::vector<std::string> files, int32_t percent);

}  // namespace nusari
