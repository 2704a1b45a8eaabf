// Book message files (.txk): ReadBookMessages on any bytes fills at most 255
// bytes into each induced move that names a message.
#include "fuzz_support.h"
#include "think/book.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace nusari;
    InducedMoves moves;
    const int32_t numbers[kInducedMoveCount] = {0, 1, 2, 7, 10, 99, 12345, 99999};
    for (int32_t k = 0; k < kInducedMoveCount; ++k) moves.move[k].messageNumber = numbers[k];
    moves.move[7].message = "kept";
    ReadBookMessages(std::string(fuzz::bytesOf(data, size)), moves);
    for (const InducedMove& m : moves.move) {
        FUZZ_CHECK(m.message.size() <= kMaxMessageBytes);
        FUZZ_CHECK(m.message.find('}') == std::string::npos);
    }
    return 0;
}
