#include "game/elo.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace nusari {

namespace {

// Plus zero so that an even score prints "+0", not "-0".
double eloOfScore(double score) { return -400.0 * std::log10(1.0 / score - 1.0) + 0.0; }

}  // namespace

EloEstimate estimateElo(int wins, int draws, int losses) {
    EloEstimate e;
    e.games = wins + draws + losses;
    if (e.games <= 0) return e;
    const double n = e.games;
    e.score = (wins + 0.5 * draws) / n;
    if (e.score <= 0 || e.score >= 1) {
        // Half a point away from the sweep: the least the result says.
        const double bound = e.score <= 0 ? 0.5 / n : 1 - 0.5 / n;
        e.elo = eloOfScore(bound);
        e.margin = std::numeric_limits<double>::infinity();
        return e;
    }
    e.elo = eloOfScore(e.score);
    const double variance = (wins * std::pow(1 - e.score, 2) + draws * std::pow(0.5 - e.score, 2) +
                             losses * std::pow(e.score, 2)) /
                            n;
    const double spread = 1.959964 * std::sqrt(variance / n);
    const double low = e.score - spread;
    const double high = e.score + spread;
    e.margin = low <= 0 || high >= 1 ? std::numeric_limits<double>::infinity()
                                     : (eloOfScore(high) - eloOfScore(low)) / 2;
    return e;
}

std::string formatElo(const EloEstimate& e) {
    if (e.games <= 0) return "-";
    char text[64];
    if (e.score <= 0 || e.score >= 1) {
        std::snprintf(text, sizeof text, "%c%+.0f", e.score <= 0 ? '<' : '>', e.elo);
    } else if (std::isinf(e.margin)) {
        std::snprintf(text, sizeof text, "%+.0f +/- inf", e.elo);
    } else {
        std::snprintf(text, sizeof text, "%+.0f +/- %.0f", e.elo, e.margin);
    }
    return text;
}

}  // namespace nusari
