// The opening book: up to 10000 positions with their moves, read from a
// .jsk file.
//
// A record's byte k corresponds to slot k of a Position:
//   1 from (square, or hand slot of a drop)   2 to (+100 when promoting)
//   3 stored, unused   4..6 message number, high byte first
//   7/8 the lower / upper side's attack count on square (to % 100), at load
//   11..99 board (slots whose rank digit is 0 unused)   112..118, 120..126 hands
// A record whose byte 11 holds 111 ('o') is free and ends the table.
#pragma once

#include <cstdint>

namespace nusari {

inline constexpr int32_t kBookCapacity = 10000;
inline constexpr int32_t kBookRecordBytes = 128;
inline constexpr uint8_t kFreeRecordMark = 111;
inline constexpr int32_t kFreeMarkByte = 11;

inline constexpr int32_t kBookFromByte = 1;
inline constexpr int32_t kBookToByte = 2;
inline constexpr int32_t kBookMessageByte = 4;  // bytes 4..6
inline constexpr int32_t kBookLowerCountByte = 7;
inline constexpr int32_t kBookUpperCountByte = 8;

struct BookRecord {
    uint8_t byte[kBookRecordBytes];
};

struct BookTable {
    BookRecord record[kBookCapacity];

    BookTable() { clear(); }
    // Marks every slot free.
    void clear() {
        for (BookRecord& r : record) {
            for (uint8_t& b : r.byte) b = 0;
            r.byte[kFreeMarkByte] = kFreeRecordMark;
        }
    }
    bool isFree(int32_t i) const { return record[i].byte[kFreeMarkByte] == kFreeRecordMark; }
    // Records in use: those before the first free slot.
    int32_t count() const {
        int32_t n = 0;
        while (n < kBookCapacity && !isFree(n)) ++n;
        return n;
    }
};

}  // namespace nusari
