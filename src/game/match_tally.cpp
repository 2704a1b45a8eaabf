#include "game/match_tally.h"

#include <algorithm>
#include <cstdio>

namespace nusari {

bool isFoul(GameEnding ending) {
    return ending == GameEnding::FoulLoss || ending == GameEnding::BadDeclaration;
}

bool isMissingAnswer(GameEnding ending) {
    return ending == GameEnding::NoAnswer || ending == GameEnding::PlayerGone;
}

std::string reasonText(const GameOutcome& g) {
    std::string text = endingName(g.end);
    if (!g.detail.empty()) text += " (" + g.detail + ")";
    return text;
}

void MatchTally::add(int game, const GameOutcome& g) {
    plies_ += g.plies;
    for (const PlayedMove& m : g.moves) {
        slowest_ = std::max(slowest_, m.ms);
        if (m.limitMs > 0 && m.ms * 10 > m.limitMs * 11) ++late_;
    }
    if (isFoul(g.end)) ++illegal_;
    if (isMissingAnswer(g.end)) ++missing_;
    if (g.winner < 0) {
        ++draws_;
    } else {
        ++wins_[g.winner];
    }
    std::printf("game %d: sente %c, %s, %d plies, %s\n", game, g.blackEngine == 0 ? 'A' : 'B',
                g.winner < 0 ? "draw" : (g.winner == 0 ? "A wins" : "B wins"), g.plies,
                reasonText(g).c_str());
    std::fflush(stdout);
}

void MatchTally::printSummary(int games) const {
    std::printf(
        "summary: A %d, B %d, draws %d, illegal moves %d, missing answers %d, average %.1f plies, "
        "slowest move %lld ms, moves over the limit + 10%%: %d\n",
        wins_[0], wins_[1], draws_, illegal_, missing_, static_cast<double>(plies_) / std::max(1, games),
        static_cast<long long>(slowest_), late_);
}

}  // namespace nusari
