// The two kinds of analyser of 検討: a USI engine thinking with "go
// infinite", and an .aik engine searching through the think's observer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "study/live_analyser.h"
#include "usi/usi_engine.h"

namespace nusari {

// A USI engine started on the analyser's thread. The number of lines is
// set through its MultiPV (or USI_MultiPV) option, when it has one.
std::unique_ptr<LiveAnalyser> StartUsiAnalyser(EngineCommand command, int64_t handshakeMs,
                                               int32_t lines);

// An engine's info line into the report of the position it thinks on: the
// progress, and the line of its rank when the rank is one of the first
// `lines` (its moves read from the report's position up to the first that
// is no legal move). `startMs` is when its think began.
void TakeStudyInfo(const EngineLine& info, int32_t lines, int64_t startMs, AnalyserReport& report);

// An .aik engine loaded on the analyser's thread with `hashEntries` hash
// slots; its book is left out (a book move has no lines) and its depth is
// not capped.
std::unique_ptr<LiveAnalyser> StartAikAnalyser(std::string path, int32_t hashEntries,
                                               int32_t lines);

}  // namespace nusari
