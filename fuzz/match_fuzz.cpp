// What nusari-tool match reads from outside: a file of start positions, and
// the lines a USI engine prints. The same bytes go to both readers.
#include "usi/engine_line.h"
#include "fuzz_support.h"
#include "game/openings_file.h"
#include "position/legal_moves.h"
#include "position/position.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace nusari;
    const std::string_view input = fuzz::bytesOf(data, size);
    std::vector<std::string> errors;
    const std::vector<Opening> openings = parseOpenings(input, errors);
    for (const std::string& e : errors) FUZZ_CHECK(e.rfind("line ", 0) == 0);
    // Every opening's moves replay legally from its start.
    for (const Opening& o : openings) {
        FUZZ_CHECK(o.line >= 1);
        Position p = o.start;
        Side side = o.toMove;
        for (const Move& m : o.moves) {
            FUZZ_CHECK(isLegalMove(p, side, m));
            applyMove(p, side, m);
            side = opponentOf(side);
        }
    }
    std::string_view rest = input;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const EngineLine line = parseEngineLine(rest.substr(0, end));
        FUZZ_CHECK(line.score >= -kMateScore && line.score <= kMateScore);
        FUZZ_CHECK(line.word.size() <= end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return 0;
}
