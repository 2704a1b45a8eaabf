// The position at a node of a record tree as a text to copy: a SFEN, the
// USI position command of the moves leading to it, or a BOD diagram. The
// record texts themselves come from FormatRecordFor (record_writer.h).
#pragma once

#include <string>

#include "records/record_tree.h"

namespace nusari {

// The SFEN of the position at `id`, its move number the node's ply + 1
// ("lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1").
std::string FormatSfen(const RecordTree& tree, NodeId id);

// "position startpos moves 7g7f 3c3d" for the path to `id` from the even
// game with 先手 to move, "position sfen START moves ..." from any other
// start; without " moves" at the start itself.
std::string FormatUsiPosition(const RecordTree& tree, NodeId id);

// The BOD of the position at `id`: the KIF diagram, then "手数＝N  ▲７六歩
// まで" after a move, and 先手番 or 後手番. CP932 with CR LF, as FormatKif.
std::string FormatBod(const RecordTree& tree, NodeId id);

}  // namespace nusari
