#include "records/book_builder.h"

#include <algorithm>

#include "position/legal_moves.h"
#include "position/position.h"

namespace nusari {

namespace {

constexpr std::size_t kMessageBytes = 3;  // file bytes 3..5

uint8_t byteOf(int32_t value) {
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace

BookFileRecord packBookRecord(const Position& position, const Move& move, int32_t messageNumber) {
    BookFileRecord r{};
    std::size_t i = 0;
    r[i++] = byteOf(move.from);
    r[i++] = byteOf(move.to);
    r[i++] = 0;
    r[i++] = static_cast<uint8_t>((messageNumber >> 16) & 255);
    r[i++] = static_cast<uint8_t>((messageNumber >> 8) & 255);
    r[i++] = static_cast<uint8_t>(messageNumber & 255);
    for (int32_t file = 1; file <= 9; ++file) {
        for (int32_t rank = 1; rank <= 9; ++rank) r[i++] = byteOf(position[squareOf(file, rank)]);
    }
    for (int32_t k = kLowerHandFirst; k <= kLowerHandLast; ++k) r[i++] = byteOf(position[k]);
    for (int32_t k = kUpperHandFirst; k <= kUpperHandLast; ++k) r[i++] = byteOf(position[k]);
    return r;
}

BookBuilder::AddResult BookBuilder::addRecord(const GameRecord& record, int32_t plies,
                                              int32_t messageNumber, int32_t& stoppedAt) {
    stoppedAt = 0;
    const int32_t last = std::min({plies, record.length, kMaxRecordPlies});
    for (int32_t ply = 1; ply <= last; ++ply) {
        const Side mover = moverOfPly(record, ply);
        Position before = record.history[ply - 1];
        Move move = moveOfPly(before, record.history[ply], mover);
        // The book lookup sees the side to move as the upper side.
        if (mover == Side::Lower) {
            before = flipPosition(before);
            move = flipMove(move);
        }
        before[kLowerTimeCell] = 0;
        before[kUpperTimeCell] = 0;
        if (move.from == 0 || !isLegalMove(before, Side::Upper, move)) {
            stoppedAt = ply;
            return AddResult::IllegalPly;
        }
        const BookFileRecord packed = packBookRecord(before, move, messageNumber);
        BookFileRecord key = packed;
        std::fill_n(key.begin() + kMessageBytes, 3, 0);
        if (seen_.count(key) != 0) continue;
        if (size() == kBookCapacity) {
            stoppedAt = ply;
            return AddResult::Full;
        }
        seen_.insert(key);
        records_.push_back(packed);
    }
    return AddResult::Added;
}

std::string BookBuilder::bytes() const {
    std::string out;
    out.reserve(records_.size() * kBookFileRecordBytes);
    for (const BookFileRecord& r : records_) out.append(r.begin(), r.end());
    return out;
}

}  // namespace nusari
