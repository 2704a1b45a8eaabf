// Record and position texts as a paste gives them: any bytes read through
// the recogniser. A failure leaves the tree alone; a success gives a sound
// tree whose last position the SFEN, BOD and USI writers give back.
#include "position/sfen.h"
#include "record_checks.h"
#include "records/position_text.h"
#include "records/record_text.h"

namespace {

using namespace nusari;

// A tree that a failed read must leave as it is.
std::unique_ptr<RecordTree> occupiedTree() {
    auto tree = std::make_unique<RecordTree>();
    tree->firstName = "名前";
    tree->node(tree->addMove(kRootNode, Move{77, 76})).comment = "注釈";
    return tree;
}

// The position at `id` read back from `text`, with nothing played after it.
void checkPositionText(const RecordTree& tree, NodeId id, const std::string& text,
                       RecordTextFormat format) {
    auto back = std::make_unique<RecordTree>();
    const RecordTextOutcome outcome = ReadRecordText(text, *back);
    FUZZ_CHECK(outcome.error.empty() && outcome.format == format);
    FUZZ_CHECK(!back->hasMoves());
    FUZZ_CHECK(back->start() == tree.positionAt(id));
    FUZZ_CHECK(back->firstMover() == tree.sideToMoveAt(id));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    auto tree = occupiedTree();
    const RecordTextOutcome outcome = ReadRecordText(fuzz::bytesOf(data, size), *tree);
    if (!outcome.error.empty()) {
        FUZZ_CHECK(outcome.format == RecordTextFormat::None);
        FUZZ_CHECK(*tree == *occupiedTree());
        return 0;
    }
    FUZZ_CHECK(outcome.format != RecordTextFormat::None);
    FUZZ_CHECK(outcome.plies == tree->node(tree->mainLineEnd()).ply);
    const bool legal = fuzz::checkTree(*tree);
    const NodeId end = tree->mainLineEnd();
    const Position last = tree->positionAt(end);
    // SFEN hands hold 18 of a kind, a KIF diagram one set's pieces.
    if (!fuzz::withinOneSet(last)) return 0;
    checkPositionText(*tree, end, FormatSfen(*tree, end), RecordTextFormat::Sfen);
    checkPositionText(*tree, end, FormatBod(*tree, end), RecordTextFormat::Bod);
    if (!legal || !fuzz::withinOneSet(tree->start())) return 0;
    auto line = std::make_unique<RecordTree>();
    FUZZ_CHECK(ReadRecordText(FormatUsiPosition(*tree, end), *line).format ==
               RecordTextFormat::Usi);
    FUZZ_CHECK(line->start() == tree->start() && line->firstMover() == tree->firstMover());
    const std::vector<NodeId> path = line->mainLine();
    const std::vector<NodeId> main = tree->mainLine();
    FUZZ_CHECK(path.size() == main.size());
    for (std::size_t k = 0; k < path.size(); ++k) {
        FUZZ_CHECK(line->node(path[k]).move == tree->node(main[k]).move);
    }
    return 0;
}
