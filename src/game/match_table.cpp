#include "game/match_table.h"

#include <algorithm>

#include "game/elo.h"

namespace nusari {

namespace {

int64_t median(std::vector<int64_t> values) {
    if (values.empty()) return 0;
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle), values.end());
    return values[middle];
}

}  // namespace

std::string MatchTable::gameLine(int number, int blackEngine, const GameOutcome& game) const {
    const char* result = game.winner < 0 ? "1/2-1/2" : game.winner == blackEngine ? "1-0" : "0-1";
    std::string line = "game ";
    line += std::to_string(number);
    line += ": ";
    line += names_[blackEngine];
    line += " (sente) - ";
    line += names_[1 - blackEngine];
    line += " (gote): ";
    line += result;
    line += ' ';
    line += endingName(game.end);
    line += ", ";
    line += std::to_string(game.plies);
    line += " plies";
    if (!game.detail.empty()) {
        line += " (";
        line += game.detail;
        line += ')';
    }
    return line;
}

void MatchTable::add(int blackEngine, const GameOutcome& game) {
    ++games_;
    plies_ += game.plies;
    for (int e = 0; e < 2; ++e) {
        const int colour = e == blackEngine ? 0 : 1;
        Tally& t = tally_[e];
        if (game.winner < 0) {
            ++t.draws[colour];
        } else if (game.winner == e) {
            ++t.wins[colour];
        } else {
            ++t.losses[colour];
        }
    }
    for (const PlayedMove& m : game.moves) {
        Tally& t = tally_[game.engineOf(m)];
        t.moveMs.push_back(m.ms);
        if (m.ms * 10 > m.limitMs * 11) ++t.late;
    }
}

void MatchTable::print(std::FILE* out) const {
    size_t width = 6;
    for (const std::string& name : names_) width = std::max(width, std::min<size_t>(name.size(), 40));
    const int w = static_cast<int>(width);
    std::fprintf(out, "\n%-*s %5s %5s %6s %5s %7s  %-9s %-9s %9s %7s %6s\n", w, "engine", "games", "wins",
                 "losses", "draws", "score", "sente WLD", "gote WLD", "median ms", "max ms", "late");
    for (int e = 0; e < 2; ++e) {
        const Tally& t = tally_[e];
        const int wins = t.wins[0] + t.wins[1];
        const int losses = t.losses[0] + t.losses[1];
        const int draws = t.draws[0] + t.draws[1];
        const double score = games_ > 0 ? 100.0 * (wins + 0.5 * draws) / games_ : 0;
        char sente[32];
        char gote[32];
        std::snprintf(sente, sizeof sente, "%d-%d-%d", t.wins[0], t.losses[0], t.draws[0]);
        std::snprintf(gote, sizeof gote, "%d-%d-%d", t.wins[1], t.losses[1], t.draws[1]);
        const int64_t slowest = t.moveMs.empty() ? 0 : *std::max_element(t.moveMs.begin(), t.moveMs.end());
        std::fprintf(out, "%-*.*s %5d %5d %6d %5d %6.1f%%  %-9s %-9s %9lld %7lld %6d\n", w, w,
                     names_[e].c_str(), games_, wins, losses, draws, score, sente, gote,
                     static_cast<long long>(median(t.moveMs)), static_cast<long long>(slowest), t.late);
    }
    const Tally& first = tally_[0];
    const EloEstimate elo = estimateElo(first.wins[0] + first.wins[1], first.draws[0] + first.draws[1],
                                        first.losses[0] + first.losses[1]);
    std::fprintf(out, "Elo difference (%s - %s): %s (95 %%)\n", names_[0].c_str(), names_[1].c_str(),
                 formatElo(elo).c_str());
    std::fprintf(out, "average %.1f plies; late: moves over their limit + 10 %%\n",
                 games_ > 0 ? static_cast<double>(plies_) / games_ : 0.0);
}

}  // namespace nusari
