// What every record the readers accept must satisfy: sound cells, plies that
// are moves of their mover, and a game that the CSA and KIF writers write
// back to the same game; and for the tree the readers build: sound links
// and bounds, moves that fit their positions, UTF-8 texts, and a tree that
// KIF writes back whole and CSA writes back as its main line.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "position/setup.h"
#include "position/text_encoding.h"
#include "records/comment_scores.h"
#include "records/csa_writer.h"
#include "records/kif_writer.h"
#include "records/record_builder.h"
#include "records/record_readers.h"
#include "records/record_source.h"
#include "records/record_tree.h"

namespace nusari::fuzz {

// A record as LoadRecord hands it to a grammar.
inline std::unique_ptr<GameRecord> freshRecord() {
    auto record = std::make_unique<GameRecord>();
    setupPosition(record->history[0], kPresetEven);
    record->history[0][kLowerTimeCell] = 0;
    record->history[0][kUpperTimeCell] = 0;
    return record;
}

// Squares hold a piece or nothing, the walls stay walls, no hand is negative.
inline void checkCells(const GameRecord& record, int32_t plies) {
    for (int32_t n = 0; n <= plies; ++n) {
        const Position& p = record.history[static_cast<std::size_t>(n)];
        for (int32_t i = 0; i < kBoardCells; ++i) {
            if (isSquare(i)) {
                FUZZ_CHECK(p[i] == kEmpty || isValidPieceCode(p[i]));
            } else {
                FUZZ_CHECK(p[i] == kOffBoard);
            }
        }
        for (int32_t kind = kRook; kind <= kPawn; ++kind) {
            FUZZ_CHECK(p[kLowerHandBase + kind] >= 0);
            FUZZ_CHECK(p[kUpperHandBase + kind] >= 0);
        }
    }
}

// Each ply is a move its mover may record, and it makes the next entry.
inline void checkPlies(const GameRecord& record, int32_t plies) {
    for (int32_t n = 1; n <= plies; ++n) {
        const Position& before = record.history[static_cast<std::size_t>(n - 1)];
        const Position& after = record.history[static_cast<std::size_t>(n)];
        const Side mover = moverOfPly(record, n);
        const Move m = moveOfPly(before, after, mover);
        FUZZ_CHECK(isRecordableMove(before, mover, m));
        Position played = before;
        applyMove(played, mover, m);
        played[kLowerTimeCell] = after[kLowerTimeCell];
        played[kUpperTimeCell] = after[kUpperTimeCell];
        FUZZ_CHECK(played == after);
    }
}

// No more pieces of a kind than one set has, kings included: only such a
// position has a KIF diagram and hands.
inline bool withinOneSet(const Position& p) {
    constexpr int32_t kSet[8] = {2, 2, 2, 4, 4, 4, 4, 18};
    int64_t count[8] = {};
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        if (isSquare(sq) && isValidPieceCode(p[sq])) ++count[kindOf(p[sq])];
    }
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        count[kind] += p[kLowerHandBase + kind] + p[kUpperHandBase + kind];
    }
    for (int32_t kind = kKing; kind <= kPawn; ++kind) {
        if (count[kind] > kSet[kind]) return false;
    }
    return true;
}

inline void checkSameGame(const GameRecord& a, const GameRecord& b) {
    FUZZ_CHECK(a.length == b.length);
    FUZZ_CHECK(senteMovesFirst(a) == senteMovesFirst(b));
    for (int32_t n = 0; n <= a.length; ++n) FUZZ_CHECK(standardEntry(a, n) == standardEntry(b, n));
    FUZZ_CHECK(a.ending == b.ending);
    FUZZ_CHECK(nameOf(a.firstName) == nameOf(b.firstName));
    FUZZ_CHECK(nameOf(a.secondName) == nameOf(b.secondName));
}

// Reads `bytes` as LoadRecord does, checks what was read and, on success,
// that both writers' texts read back to the same game.
inline void checkRecordBytes(std::string_view bytes, bool csa) {
    const std::string text = recordTextAsCp932(bytes);
    auto record = freshRecord();
    TextInput in{std::string_view(text)};
    const ReadOutcome outcome = csa ? ReadCsa(in, *record) : ReadKif(in, *record);
    FUZZ_CHECK(outcome.plies >= 0 && outcome.plies <= kMaxRecordPlies);
    checkCells(*record, outcome.plies);
    if (!outcome.error.empty()) return;
    record->length = outcome.plies;
    checkPlies(*record, outcome.plies);
    if (!withinOneSet(record->history[0])) return;
    for (const bool asCsa : {true, false}) {
        const std::string written = asCsa ? FormatCsa(*record) : FormatKif(*record);
        auto back = freshRecord();
        TextInput again{std::string_view(written)};
        const ReadOutcome reread = asCsa ? ReadCsa(again, *back) : ReadKif(again, *back);
        FUZZ_CHECK(reread.error.empty());
        back->length = reread.plies;
        checkSameGame(*record, *back);
    }
}


// Links, bounds and moves of a tree: each node's children name it as their
// parent and come after it, plies count the moves, every move fits the
// position it is played in, and the texts are UTF-8. True when every move
// is also legal, as KI2 needs.
inline bool checkTree(const RecordTree& tree) {
    bool legal = true;
    FUZZ_CHECK(tree.nodeCount() >= 1 && tree.nodeCount() <= kMaxTreeNodes);
    FUZZ_CHECK(tree.node(kRootNode).parent == kNoNode && tree.node(kRootNode).ply == 0);
    FUZZ_CHECK(isValidUtf8(tree.firstName) && isValidUtf8(tree.secondName));
    for (const RecordHeader& h : tree.headers) FUZZ_CHECK(isValidUtf8(h.key) && isValidUtf8(h.value));
    // Depth first, with the position at each ply of the path being walked.
    std::vector<Position> positions{tree.start()};
    std::vector<NodeId> pending{kRootNode};
    int32_t visited = 0;
    while (!pending.empty()) {
        const NodeId id = pending.back();
        pending.pop_back();
        ++visited;
        const RecordNode& n = tree.node(id);
        FUZZ_CHECK(isValidUtf8(n.comment));
        // The graph's scores read from any comment stay within their bounds.
        for (const std::optional<int32_t>& score :
             {ScoresOfNode(n).played, ScoresOfNode(n).analysed}) {
            FUZZ_CHECK(!score || (*score >= -kCommentMateScore && *score <= kCommentMateScore) ||
                       (n.hasScore && score == n.score));
        }
        if (id != kRootNode) {
            const RecordNode& parent = tree.node(n.parent);
            FUZZ_CHECK(n.parent >= 0 && n.parent < id);
            FUZZ_CHECK(n.ply == parent.ply + 1 && n.ply <= kMaxRecordPlies);
            positions.resize(static_cast<std::size_t>(n.ply));
            Position p = positions.back();
            const Side mover = tree.sideToMoveAt(n.parent);
            FUZZ_CHECK(isRecordableMove(p, mover, n.move));
            legal = legal && isLegalMove(p, mover, n.move);
            applyMove(p, mover, n.move);
            positions.push_back(p);
        }
        for (std::size_t k = n.children.size(); k-- > 0;) {
            FUZZ_CHECK(tree.node(n.children[k]).parent == id);
            pending.push_back(n.children[k]);
        }
    }
    FUZZ_CHECK(visited == tree.nodeCount());
    return legal;
}

// The tree of `tree`'s main line alone, with what CSA keeps of it: no
// metadata but the names, no start times.
inline std::unique_ptr<RecordTree> mainLineAsCsaKeepsIt(const RecordTree& tree) {
    auto line = std::make_unique<RecordTree>();
    line->reset(tree.start(), tree.firstMover());
    line->firstName = tree.firstName;
    line->secondName = tree.secondName;
    NodeId to = kRootNode;
    auto copyNotes = [&](NodeId from) {
        RecordNode& n = line->node(to);
        n.timeMs = tree.node(from).timeMs;
        n.comment = tree.node(from).comment;
        n.hasScore = tree.node(from).hasScore;
        n.score = tree.node(from).score;
        n.ending = tree.node(from).ending;
    };
    copyNotes(kRootNode);
    line->node(kRootNode).timeMs = kUnknownTime;
    for (const NodeId id : tree.mainLine()) {
        to = line->addCheckedMove(to, tree.node(id).move);
        FUZZ_CHECK(to != kNoNode);
        copyNotes(id);
    }
    return line;
}

// The texts of `tree` as CP932 holds them: bytes that were no CP932
// character were read as U+FFFD, which is written as '?'.
inline void keepWhatCp932Holds(RecordTree& tree) {
    const auto held = [](std::string& text) { text = toUtf8(toCp932(text)); };
    held(tree.firstName);
    held(tree.secondName);
    for (RecordHeader& h : tree.headers) {
        held(h.key);
        held(h.value);
    }
    for (NodeId id = 0; id < tree.nodeCount(); ++id) held(tree.node(id).comment);
}

// True when every header and name line fits the 254 bytes of a KIF line and
// holds only CP932 characters. A byte that is no character (read as U+FFFD)
// may hide a "：" that the written '?' then shows.
inline bool metadataWritesAsRead(const RecordTree& tree) {
    constexpr std::size_t kLine = 254;
    const auto held = [](const std::string& text) { return toUtf8(toCp932(text)) == text; };
    if (!held(tree.firstName) || !held(tree.secondName)) return false;
    for (const RecordHeader& h : tree.headers) {
        if (!held(h.key) || !held(h.value)) return false;
    }
    // "先手：" and "上手：" take six bytes, "：" two.
    if (toCp932(tree.firstName).size() + 6 > kLine || toCp932(tree.secondName).size() + 6 > kLine) {
        return false;
    }
    for (const RecordHeader& h : tree.headers) {
        if (toCp932(h.key).size() + 2 + toCp932(h.value).size() > kLine) return false;
        if (h.value.find('\n') != std::string::npos) return false;
    }
    return true;
}

// Reads `bytes` into a tree as ReadRecordTreeFile does and checks it; on
// success, KIF must write it back to the same tree (without the engine
// scores, which KIF has no place for), KI2 too when its moves are legal
// (without the times), and CSA to the same main line.
inline void checkTreeBytes(std::string_view bytes, bool csa) {
    const std::string text = recordTextAsCp932(bytes);
    auto tree = std::make_unique<RecordTree>();
    TextInput in{std::string_view(text)};
    const ReadOutcome outcome = csa ? ReadCsaTree(in, *tree) : ReadKifTree(in, *tree);
    FUZZ_CHECK(outcome.plies == tree->node(tree->mainLineEnd()).ply);
    const bool legal = checkTree(*tree);
    if (!outcome.error.empty() || !withinOneSet(tree->start())) return;

    const bool plainMetadata = metadataWritesAsRead(*tree);
    keepWhatCp932Holds(*tree);
    auto kifTree = std::make_unique<RecordTree>(*tree);
    for (NodeId id = 0; id < kifTree->nodeCount(); ++id) {
        kifTree->node(id).hasScore = false;
        kifTree->node(id).score = 0;
    }
    kifTree->startTimeMs[0] = kifTree->startTimeMs[1] = 0;
    const std::string kif = FormatKif(*kifTree);
    auto back = std::make_unique<RecordTree>();
    TextInput kifIn{std::string_view(kif)};
    const ReadOutcome kifRead = ReadKifTree(kifIn, *back);
    FUZZ_CHECK(kifRead.error.empty() && kifRead.variationError.empty());
    // A KIF line holds 254 bytes: metadata from CSA that is longer is cut.
    if (!plainMetadata) {
        kifTree->headers = back->headers;
        kifTree->firstName = back->firstName;
        kifTree->secondName = back->secondName;
    }
    FUZZ_CHECK(*back == *kifTree);

    // KI2 names legal moves only and keeps no times; an ending before the
    // first move has no KI2 line.
    if (legal && tree->hasMoves()) {
        for (NodeId id = 0; id < kifTree->nodeCount(); ++id) kifTree->node(id).timeMs = kUnknownTime;
        const std::string ki2 = FormatKi2(*kifTree);
        back = std::make_unique<RecordTree>();
        TextInput ki2In{std::string_view(ki2)};
        const ReadOutcome ki2Read = ReadKifTree(ki2In, *back);
        FUZZ_CHECK(ki2Read.error.empty() && ki2Read.variationError.empty());
        if (!plainMetadata) {
            kifTree->headers = back->headers;
            kifTree->firstName = back->firstName;
            kifTree->secondName = back->secondName;
        }
        FUZZ_CHECK(*back == *kifTree);
    }

    const std::string csaText = FormatCsa(*tree);
    back = std::make_unique<RecordTree>();
    TextInput csaIn{std::string_view(csaText)};
    FUZZ_CHECK(ReadCsaTree(csaIn, *back).error.empty());
    FUZZ_CHECK(*mainLineAsCsaKeepsIt(*back) == *mainLineAsCsaKeepsIt(*tree));
}

}  // namespace nusari::fuzz
