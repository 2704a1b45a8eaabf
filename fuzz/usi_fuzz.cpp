// USI command lines of nusari-usi, one per line, handled as its main loop
// does with the shipped engines. A "go" is stopped at once, as if "stop"
// came right after it; options that would open another file or allocate a
// large hash are left out.
#include <sstream>

#include "fuzz_support.h"
#include "position/sfen.h"
#include "usi_session.h"

namespace {

std::string firstWord(const std::string& line) {
    std::istringstream in(line);
    std::string w;
    in >> w;
    return w;
}

// Every "bestmove" names a move or resigns.
void checkOutput(const std::string& out) {
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("bestmove ", 0) != 0) continue;
        const std::string move = line.substr(9);
        nusari::Move m;
        FUZZ_CHECK(move == "resign" || nusari::parseUsiMove(move, nusari::Side::Lower, m) ||
                   nusari::parseUsiMove(move, nusari::Side::Upper, m));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    constexpr int kMaxGoLines = 8;
    std::ostringstream out;
    nusari::usi::UsiSession session(NUSARI_FUZZ_DATA_DIR, out);
    session.handle("setoption name USI_Hash value 1");
    const std::string_view input = nusari::fuzz::bytesOf(data, size);
    int64_t goLines = 0;
    std::size_t pos = 0;
    while (pos < input.size()) {
        const std::size_t end = std::min(input.find('\n', pos), input.size());
        std::string line(input.substr(pos, end - pos));
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string command = firstWord(line);
        if (command == "setoption" && (line.find("AikFile") != std::string::npos ||
                                       line.find("USI_Hash") != std::string::npos)) {
            continue;
        }
        if (command == "go") {
            if (goLines == kMaxGoLines) continue;
            session.requestStop(++goLines);
        }
        if (command == "stop" || command == "quit") session.requestStop(goLines);
        if (!session.handle(line)) break;
    }
    checkOutput(out.str());
    return 0;
}
