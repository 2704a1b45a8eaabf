// nusari-tool tune: improves the numbers of an engine file against teacher
// games, with the hit score of the analysis (lower is better) or the mean
// squared error of a logistic (Texel) fit of the static evaluation to the
// games' results as the objective, and writes the result as a copy of the
// file in which only those numbers differ.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/hit_stats.h"

namespace nusari {

enum class TuneMethod : int32_t {
    Hit,  // the hit score of the teacher's moves in the candidate lists
    Fit,  // a logistic fit of the static evaluation to the games' results
    // The same fit of the second search's king-piece evaluation: the raw
    // square and hand values and the king-relative tables ("set ou["), all
    // at once by gradient descent (tune/king_piece_fit.h).
    KingPiece,
};

struct TuneSettings {
    std::string aikPath;
    std::string kifFolder;
    std::string outPath;
    std::vector<std::string> groups;  // see tune_groups.h
    int32_t holdoutPercent = 20;      // of the teacher files, judged on only
    uint32_t seed = 1;                // order of the parameters and directions
    int32_t rounds = 2;               // passes over all parameters
    int32_t evaluations = 0;          // the most rankings of the training games; 0: no limit
    int32_t threads = 0;              // 0: one per core
    TuneMethod method = TuneMethod::Hit;
    // The fit's target: the share (per cent) of the teachers' scores beside
    // the games' results.
    int32_t scoreWeightPercent = 100;
    int32_t epochs = 40;  // KingPiece: passes over the training positions
};

// The logistic fit's figures: the scale of the evaluation fixed for the
// run, the teachers' scale (their scores' fit to the results; the target of
// a position with a score mixes its result and the score's expected result)
// and the mean squared errors before and after.
struct FitFigures {
    double scale = 0;
    double teacherScale = 0;
    int32_t taughtPositions = 0;  // training positions with a teacher's score
    int32_t trainingPositions = 0;
    int32_t heldOutPositions = 0;
    double trainingBefore = 0;
    double trainingAfter = 0;
    double heldOutBefore = 0;
    double heldOutAfter = 0;
};

struct TuneChange {
    std::string parameter;
    int32_t before = 0;
    int32_t after = 0;
};

struct TuneOutcome {
    int32_t trainingGames = 0;
    int32_t heldOutGames = 0;
    int32_t parameters = 0;
    int32_t evaluations = 0;
    HitStats trainingBefore;
    HitStats trainingAfter;
    HitStats heldOutBefore;
    HitStats heldOutAfter;
    FitFigures fit;  // the fit's (TuneMethod::Fit, TuneMethod::KingPiece)
    std::vector<TuneChange> changes;
    // The book and message files copied beside the written engine file.
    std::vector<std::string> copied;
};

// Tunes as `settings` say and writes settings.outPath; a line per
// evaluation goes to `progress` (when given). The book and messages the
// engine names are copied beside the result, which is loaded once written.
// False with `error` when the engine file does not load, the output's folder
// takes no file or holds a different book of the same name (these are
// checked before the run), a group is unknown, there are no training
// positions, or the result cannot be written or does not load.
bool RunTune(const TuneSettings& settings, std::FILE* progress, TuneOutcome& outcome,
             std::string& error);

// Score per position and the share of rank-0 hits in per cent.
double ScorePerPosition(const HitStats& stats);
double FirstRankShare(const HitStats& stats);

}  // namespace nusari
