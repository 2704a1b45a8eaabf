// Short games against the shipped engine: every reply is a legal move made
// within the time limit, and the window is pumped while it thinks.
#include "position/legal_moves.h"
#include "think/clock.h"
#include "think/think_move.h"
#include "ui_test_support.h"

namespace nusari {
namespace {

class EngineGameTest : public test::ControllerTest {
  protected:
    void SetUp() override {
        test::ControllerTest::SetUp();
        store.values["Aik/MaxTime"] = "300";
        controller->think = [this](EngineState& e, const ThinkRequest& request, ThinkObserver& observer) {
            const int64_t start = nowMs();
            const Move reply = ThinkMove(e, request, observer);
            slowest = std::max(slowest, nowMs() - start);
            ++thinks;
            if (!reply.isResign()) {
                EXPECT_TRUE(isLegalMove(request.position, Side::Upper, reply)) << reply.from << "-" << reply.to;
            }
            return reply;
        };
    }

    // Plays the human's first legal board move by clicks.
    void playAnyMove() {
        MoveList legal;
        generateLegalMoves(board(), Side::Lower, legal);
        for (const Move& m : legal) {
            if (m.from > kLastSquare || isPromotion(m)) continue;
            move(m.from, m.to);
            return;
        }
        FAIL() << "no move";
    }

    int64_t slowest = 0;
};

TEST_F(EngineGameTest, TheEngineAnswersBothSides) {
    for (bool computerFirst : {false, true}) {
        SCOPED_TRACE(computerFirst);
        makeController();
        SetUp();
        thinks = 0;
        startGame(kPresetEven, computerFirst);
        for (int i = 0; i < 3 && controller->gameState == GameState::LowerToMove; ++i)
            playAnyMove();
        EXPECT_GE(thinks, 3);
        EXPECT_GE(gameFields().plyCount, 5);
        EXPECT_GT(ui.pumps, 0);
        // Half the limit ends the deepening; one iteration may run over it.
        EXPECT_LT(slowest, 3000);
    }
}

}  // namespace
}  // namespace nusari
