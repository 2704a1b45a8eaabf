// The remote's side of a game as the link plays it: each move line decoded
// against the position, and the game going on from the position it makes.
#pragma once

#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "position/setup.h"
#include "remote/csa_move_line.h"
#include "remote/remote_commands.h"

namespace nusari::fuzz {

class RemoteGame {
  public:
    explicit RemoteGame(bool humanIsSecond) : humanIsSecond_(humanIsSecond) {
        setupPosition(board_, kPresetEven);
    }

    // What follows the sign of a move line. A move that decodes is a legal
    // move of the remote (the lower side), and its own line decodes to it.
    // After it the board is turned and the players change seats, so the
    // other side's lines of the same game read as the remote's next.
    void moveBody(std::string_view body) {
        const std::optional<Move> m = DecodeMoveBody(body, board_, humanIsSecond_);
        if (!m) return;
        FUZZ_CHECK(isLegalMove(board_, Side::Lower, *m));
        Position after = board_;
        applyLowerMove(after, *m);
        const std::string line =
            EncodeMoveLine(*m, after[destinationOf(*m)], 1, humanIsSecond_);
        FUZZ_CHECK(line.size() == 8 && line[0] == '+' && line[7] == '\n');
        const std::optional<Move> again = DecodeMoveBody(std::string_view(line).substr(1), board_, humanIsSecond_);
        FUZZ_CHECK(again && *again == *m);
        board_ = flipPosition(after);
        humanIsSecond_ = !humanIsSecond_;
    }

    // A "%" word: a known one is named by its first three letters.
    static void specialWord(std::string_view word) {
        const SpecialCommand* command = FindSpecialCommand(word);
        if (command == nullptr) return;
        FUZZ_CHECK(word.substr(0, 3) == command->letters);
        FUZZ_CHECK(command->message != nullptr);
    }

  private:
    bool humanIsSecond_;
    Position board_;
};

}  // namespace nusari::fuzz
