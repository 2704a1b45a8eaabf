// The parameters the tuner changes, in named groups, each built from the
// numbers of an engine file.
//
// Only what the hit analysis depends on is offered: it ranks the candidate
// list of one expansion and never searches, so search depths and pruning
// (hukasa, the *_hukasa factors, edakari_*), the time share, the book's
// values and the path bonuses (doute_kati: no moves lead to a teacher
// position) do not change its score. The logistic fit reads only the
// static evaluation: its default groups leave out the check bonus and the
// list width.
//
//   pieces    one offset per piece code (rook, bishop, gold, silver,
//             knight, lance, pawn and the promoted ones) added to all 81
//             square values of its table: the piece's worth on the board
//   hand      one increment per kind held in hand: holding n pieces is
//             worth n times the increment more
//   squares   one offset per piece code and rank (seen from its owner)
//             added to the nine square values of that rank
//   king      one offset per rank added to the king's square values
//   danger    one offset per rank added to the king-zone danger map
//   progress  the progress coefficient of every table
//   bonus     oute_kati (check bonus), zyoukyou_pl and zyoukyou_pl_max
//             (start and cap of the progress counts)
//   rules     the value of every neighbourhood rule ("find koma" lines)
//   width     haba; the hit score can only fall as the list grows, so this
//             group always widens it
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "aik/aik_number.h"

namespace nusari {

inline constexpr const char* kDefaultTuneGroups = "pieces,hand,king,danger,progress,bonus";
// The fit's: what the static evaluation of a position reads.
inline constexpr const char* kDefaultFitGroups = "pieces,hand,squares,king,danger,progress";

// Changes `weight` times the parameter's change to number `number`.
struct TuneTarget {
    std::size_t number = 0;  // index into the located numbers
    int32_t weight = 1;
};

struct TuneParameter {
    std::string name;     // "pieces.rook", "king.rank3", "bonus.oute_kati", ...
    int32_t start = 0;    // the value as loaded (0 for offsets and increments)
    int32_t min = 0;      // the range searched; the numbers' valid ranges
    int32_t max = 0;      // are checked besides
    int32_t step = 1;     // the first step of the search
    std::vector<TuneTarget> targets;
};

// The names of every group, in the order above.
const std::vector<std::string>& TuneGroupNames();

// The parameters of the groups named in `groups` for the numbers of a file
// (as LocateAikNumbers gives them); false with `error` set for an unknown
// group. A field set twice in the file is changed where the loader takes
// it from, its last place.
bool BuildTuneParameters(const std::vector<AikNumber>& numbers,
                         const std::vector<std::string>& groups,
                         std::vector<TuneParameter>& parameters, std::string& error);

// The numbers' values with each parameter at `values[p]`.
std::vector<int32_t> NumberValues(const std::vector<AikNumber>& numbers,
                                  const std::vector<TuneParameter>& parameters,
                                  const std::vector<int32_t>& values);

// "a,b,c" split at the commas, empty parts left out.
std::vector<std::string> SplitList(const std::string& text);

}  // namespace nusari
