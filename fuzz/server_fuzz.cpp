// The game server's byte stream: lines assembled as the connection does
// (the same lines whether the bytes come at once or one by one), then each
// line read for the server's verdicts, the remote's moves and "%" words.
#include <vector>

#include "remote/line_assembler.h"
#include "remote_checks.h"

namespace {

using namespace nusari;

std::vector<std::string> lines(LineAssembler& assembler) {
    std::vector<std::string> out;
    while (std::optional<std::string> line = assembler.takeLine()) out.push_back(std::move(*line));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    LineAssembler whole;
    whole.append(bytes);
    LineAssembler single;
    for (const char c : bytes) single.append(std::string_view(&c, 1));
    const std::vector<std::string> got = lines(whole);
    FUZZ_CHECK(got == lines(single));

    fuzz::RemoteGame game(size > 0 && (data[0] & 1) != 0);
    for (const std::string& line : got) {
        FUZZ_CHECK(line == kLineOverflow || (!line.empty() && line.back() == '\n'));
        FUZZ_CHECK(line.size() <= kMaxServerLine);
        FUZZ_CHECK(line.find('\0') == std::string::npos);
        const ServerEnd end = ServerEndOf(line);
        if (end.verdict == ServerVerdict::Result) {
            FUZZ_CHECK(end.result == 2 || end.result == 1 || end.result == -1);
        } else {
            FUZZ_CHECK(end.result == 0);
        }
        ServerReasonOf(line);
        if (line[0] == '+' || line[0] == '-') game.moveBody(std::string_view(line).substr(1));
        if (line[0] == '%') fuzz::RemoteGame::specialWord(std::string_view(line).substr(1));
    }
    return 0;
}
