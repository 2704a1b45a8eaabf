// What a live analyser (検討) tells about the position it thinks on: its
// progress and its candidate lines, best first. Plain values, copied from
// the analyser's thread to the window's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "position/types.h"

namespace nusari {

// The most candidate lines an analyser is asked for.
inline constexpr int32_t kMaxStudyLines = 10;

// How a score stands: exact, or only a bound the engine gave.
enum class ScoreBound : int32_t { Exact, Lower, Upper };

struct CandidateLine {
    // From the side to move, in centipawns; a mate is ±kStudyMateScore.
    int32_t score = 0;
    bool mate = false;
    // Plies to the mate, 0 when not known.
    int32_t matePlies = 0;
    ScoreBound bound = ScoreBound::Exact;
    int32_t depth = 0;
    // From the position analysed, its side to move's move first (standard
    // frame); empty while the engine has named none.
    std::vector<Move> moves;
};

inline constexpr int32_t kStudyMateScore = 100000;

struct AnalyserReport {
    std::string name;  // UTF-8
    // An .aik engine: its evaluation can be taken apart.
    bool aik = false;
    // The position the lines belong to (standard frame); `serial` counts
    // the positions the analyser was given, so that a stale report is told.
    Position position{};
    Side toMove = Side::Lower;
    uint64_t serial = 0;
    bool thinking = false;
    int32_t depth = 0;
    int32_t seldepth = -1;
    int64_t nodes = -1;
    int64_t nps = -1;
    int32_t hashPermille = -1;
    std::vector<CandidateLine> lines;
    // Why the analyser stopped (UTF-8); empty while it works.
    std::string error;
};

}  // namespace nusari
