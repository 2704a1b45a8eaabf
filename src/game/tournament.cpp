#include "game/tournament.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>

#include "game/elo.h"

namespace nusari {

namespace {

constexpr std::string_view kFileMark = "#nusari-tournament 1";

struct Pairing {
    int32_t first;
    int32_t second;
};

std::vector<Pairing> pairingsOf(const TournamentPlan& plan) {
    std::vector<Pairing> pairs;
    const auto n = static_cast<int32_t>(plan.names.size());
    for (int32_t a = 0; a < n; ++a) {
        for (int32_t b = a + 1; b < n; ++b) {
            if (plan.kind == TournamentKind::Gauntlet && a > 0) break;
            pairs.push_back({a, b});
        }
    }
    return pairs;
}

// A name on one line of the file: tabs and line ends become blanks.
std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

// A whole field as a number; `fallback` when it is none.
int32_t numberOf(std::string_view text, int32_t fallback) {
    int32_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    return ec != std::errc() || end != text.data() + text.size() ? fallback : n;
}

const char* kindWord(TournamentKind kind) { return kind == TournamentKind::Gauntlet ? "gauntlet" : "roundrobin"; }

}  // namespace

std::vector<ScheduledGame> tournamentSchedule(const TournamentPlan& plan) {
    std::vector<ScheduledGame> games;
    if (plan.names.size() < 2 || plan.gamesPerPairing < 1 || plan.openingCount < 1) return games;
    const std::vector<Pairing> pairs = pairingsOf(plan);
    for (int32_t round = 0; round < plan.gamesPerPairing; ++round) {
        for (const Pairing& p : pairs) {
            ScheduledGame g;
            g.number = static_cast<int32_t>(games.size()) + 1;
            const bool swapped = plan.swapColours && round % 2 == 1;
            g.sente = swapped ? p.second : p.first;
            g.gote = swapped ? p.first : p.second;
            g.opening = (plan.swapColours ? round / 2 : round) % plan.openingCount;
            games.push_back(g);
        }
    }
    return games;
}

std::vector<StandingRow> tournamentStandings(const TournamentPlan& plan, const std::vector<ScheduledGame>& schedule,
                                             const std::vector<TournamentResult>& results) {
    std::vector<StandingRow> rows(plan.names.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].engine = static_cast<int32_t>(i);
        rows[i].name = plan.names[i];
    }
    for (const TournamentResult& r : results) {
        if (r.game < 1 || r.game > static_cast<int32_t>(schedule.size())) continue;
        const ScheduledGame& g = schedule[static_cast<size_t>(r.game - 1)];
        for (const int32_t e : {g.sente, g.gote}) {
            if (e < 0 || e >= static_cast<int32_t>(rows.size())) continue;
            StandingRow& row = rows[static_cast<size_t>(e)];
            ++row.games;
            if (r.winner < 0) {
                ++row.draws;
            } else if (r.winner == e) {
                ++row.wins;
            } else {
                ++row.losses;
            }
        }
    }
    for (StandingRow& row : rows) {
        row.points = row.wins + 0.5 * row.draws;
        char text[16] = "-";
        if (row.games > 0) std::snprintf(text, sizeof text, "%.1f%%", 100.0 * row.points / row.games);
        row.percent.assign(text);
        row.elo = formatElo(estimateElo(row.wins, row.draws, row.losses));
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const StandingRow& a, const StandingRow& b) { return a.points > b.points; });
    return rows;
}

std::string tournamentResultLine(const TournamentResult& result) {
    std::string line = "result\t";
    line += std::to_string(result.game);
    line += '\t';
    line += std::to_string(result.winner);
    line += '\t';
    line += oneLine(result.ending);
    line += '\n';
    return line;
}

std::string tournamentFileText(const TournamentPlan& plan, const std::vector<TournamentResult>& results) {
    std::string text(kFileMark);
    text += "\nkind\t";
    text += kindWord(plan.kind);
    text += "\ngames\t";
    text += std::to_string(plan.gamesPerPairing);
    text += "\nopenings\t";
    text += std::to_string(plan.openingCount);
    text += "\nswap\t";
    text += plan.swapColours ? "1" : "0";
    text += '\n';
    for (const std::string& name : plan.names) {
        text += "engine\t";
        text += oneLine(name);
        text += '\n';
    }
    for (const TournamentResult& r : results) text += tournamentResultLine(r);
    return text;
}

std::optional<std::vector<TournamentResult>> readTournamentFile(std::string_view text, const TournamentPlan& plan,
                                                                std::string& error) {
    TournamentPlan read;
    read.names.clear();
    std::map<int32_t, TournamentResult> results;
    const int32_t gameCount = static_cast<int32_t>(tournamentSchedule(plan).size());
    bool marked = false;
    size_t start = 0;
    int32_t lineNumber = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (lineNumber == 1) {
            marked = line == kFileMark;
            if (!marked) break;
            continue;
        }
        if (line.empty()) continue;
        const std::vector<std::string_view> f = fieldsOf(line);
        // Every number in the file is at least -1: -2 marks a field that is none.
        constexpr int32_t kNone = -2;
        const int32_t n = f.size() >= 2 ? numberOf(f[1], kNone) : kNone;
        bool good = true;
        if (f[0] == "kind" && f.size() == 2) {
            good = f[1] == "roundrobin" || f[1] == "gauntlet";
            read.kind = f[1] == "gauntlet" ? TournamentKind::Gauntlet : TournamentKind::RoundRobin;
        } else if (f[0] == "games" && n >= 0 && f.size() == 2) {
            read.gamesPerPairing = n;
        } else if (f[0] == "openings" && n >= 0 && f.size() == 2) {
            read.openingCount = n;
        } else if (f[0] == "swap" && n >= 0 && f.size() == 2) {
            read.swapColours = n != 0;
        } else if (f[0] == "engine" && f.size() == 2) {
            if (read.names.size() < plan.names.size() + 1) read.names.emplace_back(f[1]);
        } else if (f[0] == "result" && f.size() == 4) {
            const int32_t winner = numberOf(f[2], kNone);
            good = n >= 1 && n <= gameCount && winner >= -1 && winner < static_cast<int32_t>(plan.names.size());
            if (good) results[n] = {n, winner, std::string(f[3])};
        } else {
            good = false;
        }
        if (!good) {
            error = "結果ファイルの";
            error += std::to_string(lineNumber);
            error += "行目が読めません";
            return std::nullopt;
        }
    }
    if (!marked) {
        error = "連続対局の結果ファイルではありません";
        return std::nullopt;
    }
    TournamentPlan expected = plan;
    for (std::string& name : expected.names) name = oneLine(name);
    if (!(read == expected)) {
        error = "別の連続対局（エンジン・対局数・開始局面が違う）の結果です";
        return std::nullopt;
    }
    // A result must name one of its game's players (or a draw).
    const std::vector<ScheduledGame> schedule = tournamentSchedule(plan);
    std::vector<TournamentResult> list;
    for (const auto& [number, r] : results) {
        const ScheduledGame& g = schedule[static_cast<size_t>(number - 1)];
        if (r.winner >= 0 && r.winner != g.sente && r.winner != g.gote) {
            error = "第";
            error += std::to_string(number);
            error += "局の勝者が対局者ではありません";
            return std::nullopt;
        }
        list.push_back(r);
    }
    return list;
}

}  // namespace nusari
