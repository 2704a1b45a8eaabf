// The second search's board: the same move tree as the legal-move generator,
// a key kept equal to the key computed afresh through long random games and
// back, and the repetition rules of the referee.
#include "think/search_board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>

#include "position/legal_moves.h"
#include "position/position.h"
#include "position/sfen.h"
#include "records/record_tree_files.h"
#include "think/move_stages.h"

namespace nusari {
namespace {

SearchBoard boardOf(const char* sfen) {
    Position p;
    Side toMove = Side::Lower;
    std::string error;
    EXPECT_TRUE(parseSfen(sfen, p, toMove, error)) << error;
    return SearchBoard(p, toMove);
}

constexpr const char* kStart = "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1";

// The stages of a position together hold its legal moves exactly once
// each, every move in its stage.
testing::AssertionResult theStagesAreTheLegalMoves(const Position& p, Side side, bool inCheck) {
    MoveList legal;
    generateLegalMoves(p, side, legal);
    std::multiset<std::pair<int32_t, int32_t>> expected;
    for (const Move& m : legal) expected.insert({m.from, m.to});
    std::multiset<std::pair<int32_t, int32_t>> staged;
    for (const MoveStage stage : {MoveStage::Evasions, MoveStage::Captures, MoveStage::Quiets, MoveStage::Drops}) {
        MoveList moves;
        GenerateStage(p, side, inCheck, stage, moves);
        for (const Move& m : moves) {
            staged.insert({m.from, m.to});
            const bool capture = isPromotion(m) || p[destinationOf(m)] != kEmpty;
            const MoveStage own = inCheck ? MoveStage::Evasions
                                  : isDrop(m) ? MoveStage::Drops
                                  : capture   ? MoveStage::Captures
                                              : MoveStage::Quiets;
            if (stage != own) return testing::AssertionFailure() << "a move in the wrong stage: " << toSfen(p, side);
        }
    }
    if (staged != expected) return testing::AssertionFailure() << "not the legal moves: " << toSfen(p, side);
    return testing::AssertionSuccess();
}

TEST(SearchBoard, PerftEqualsTheLegalMoveGenerators) {
    const struct {
        const char* sfen;
        int32_t depth;
    } cases[] = {
        {kStart, 4},
        // Middle games with drops, promotions and checks, both sides to move.
        {"ln1g3nl/1r1sg1k2/p1pppp1pp/6p2/1p7/2P3P2/PPSPPP2P/2G1K2R1/LN3GSNL b BPbsp 1", 3},
        {"l2+P4+P/1RS1k1g2/1p5Gp/4p1S2/p1p4NP/1P4PK1/P3+n1+B2/3p1+p3/LNG5L b RG2SNLPb4p 1", 2},
        {"l2+PR3+P/1RS1k1g2/1p5Gp/4p1S2/p1p4NP/1P4PK1/P3+n1+B2/3p1+p3/LNG5L w G2SNLPb4p 1", 3},
    };
    for (const auto& c : cases) {
        SearchBoard board = boardOf(c.sfen);
        Position p = board.position();
        const uint64_t key = board.key();
        EXPECT_EQ(SearchPerft(board, c.depth), perft(p, board.sideToMove(), c.depth)) << c.sfen;
        EXPECT_EQ(board.key(), key);
        EXPECT_EQ(board.position(), p);
    }
}

TEST(SearchBoard, TheKeyFollowsEveryMoveAndComesBack) {
    std::mt19937 random(7);
    for (int game = 0; game < 20; ++game) {
        SearchBoard board = boardOf(kStart);
        const Position start = board.position();
        const uint64_t startKey = board.key();
        for (int ply = 0; ply < 200; ++ply) {
            MoveList moves;
            generateLegalMoves(board.position(), board.sideToMove(), moves);
            if (moves.count == 0) break;
            board.make(moves.moves[random() % static_cast<uint32_t>(moves.count)]);
            ASSERT_EQ(board.key(), PositionKey(board.position(), board.sideToMove()));
            if (!board.inCheck()) {
                // A null move hands the move over, and back.
                const uint64_t before = board.key();
                board.makeNull();
                ASSERT_EQ(board.key(), PositionKey(board.position(), board.sideToMove()));
                board.unmakeNull();
                ASSERT_EQ(board.key(), before);
            }
            ASSERT_EQ(board.inCheck(), isInCheck(board.position(), board.sideToMove()));
            // Random games check often, from near and afar and twice at once.
            ASSERT_TRUE(theStagesAreTheLegalMoves(board.position(), board.sideToMove(), board.inCheck()));
        }
        while (board.ply() > 0) board.unmake();
        EXPECT_EQ(board.position(), start);
        EXPECT_EQ(board.key(), startKey);
    }
    // The side to move is part of the key.
    SearchBoard board = boardOf(kStart);
    EXPECT_NE(PositionKey(board.position(), Side::Lower), PositionKey(board.position(), Side::Upper));
}

TEST(SearchBoard, ARepetitionIsADrawUnlessOneSideCheckedThroughout) {
    const struct {
        const char* name;
        const char* sfen;
        std::vector<const char*> moves;
        Repetition expected;
    } cases[] = {
        {"kings to and fro", "4k4/9/9/9/9/9/9/9/4K4 b - 1", {"5i4i", "5a4a", "4i5i", "4a5a"}, Repetition::Draw},
        {"not yet repeated", "4k4/9/9/9/9/9/9/9/4K4 b - 1", {"5i4i", "5a4a", "4i5i"}, Repetition::None},
        {"a null move between", "4k4/9/9/9/9/9/9/9/4K4 b - 1", {"5i4i", "null", "4i5i", "null"}, Repetition::None},
        {"repeated after a null move", "4k4/9/9/9/9/9/9/9/4K4 b - 1",
         {"null", "5a4a", "5i4i", "4a5a", "4i5i"}, Repetition::Draw},
        // 先手's rook checks on every move: 先手, to move, loses by it, and
        // 後手, to move a ply later, wins.
        {"perpetual check", "3k5/9/9/9/9/9/9/9/R3K4 b - 1",
         {"9i9a", "6a6b", "9a9b", "6b6a", "9b9a", "6a6b", "9a9b", "6b6a"}, Repetition::Loss},
        {"perpetual check seen by the checked", "3k5/9/9/9/9/9/9/9/R3K4 b - 1",
         {"9i9a", "6a6b", "9a9b", "6b6a", "9b9a"}, Repetition::Win},
    };
    for (const auto& c : cases) {
        SearchBoard board = boardOf(c.sfen);
        for (const char* usi : c.moves) {
            if (std::string(usi) == "null") {
                board.makeNull();
                continue;
            }
            Move m;
            ASSERT_TRUE(parseUsiMove(usi, board.sideToMove(), m)) << usi;
            ASSERT_TRUE(isLegalMove(board.position(), board.sideToMove(), m)) << c.name << " " << usi;
            board.make(m);
        }
        EXPECT_EQ(board.repetition(), c.expected) << c.name;
    }
}

// Along the teacher games (every tenth of data/kif).
TEST(MoveStages, TheStagesTogetherAreTheLegalMoves) {
    std::vector<std::filesystem::path> games;
    for (const auto& entry : std::filesystem::directory_iterator(NUSARI_DATA_DIR "/kif")) {
        if (entry.path().extension() == ".csa") games.push_back(entry.path());
    }
    std::sort(games.begin(), games.end());
    int32_t positions = 0;
    for (size_t g = 0; g < games.size(); g += 10) {
        RecordTree tree;
        ASSERT_TRUE(ReadRecordTreeFile(games[g].string(), tree).error.empty()) << games[g];
        SearchBoard board(tree.start(), tree.firstMover());
        const std::vector<NodeId> line = tree.mainLine();
        for (size_t ply = 0; ply <= line.size(); ++ply) {
            const Position& p = board.position();
            const Side side = board.sideToMove();
            ASSERT_TRUE(theStagesAreTheLegalMoves(p, side, board.inCheck()));
            ++positions;
            if (ply == line.size()) break;
            const Move m = tree.node(line[ply]).move;
            if (!m.isMove()) break;
            board.make(m);
        }
    }
    EXPECT_GT(positions, 2000);
}

}  // namespace
}  // namespace nusari
