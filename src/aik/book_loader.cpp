#include "book_loader.h"

#include <algorithm>
#include <cstddef>

#include "position/attack_map.h"
#include "position/regular_file.h"
#include "position/types.h"

namespace nusari {

namespace {

constexpr uint8_t kPadByte = 255;

// Spreads one file record over the Position-indexed bytes of `record`:
// bytes 0..5 go to 1..6, then squares 11..99 by file, then both hands.
void unpack(const uint8_t* in, BookRecord& record) {
    for (uint8_t& b : record.byte) b = 0;
    int32_t i = 0;
    for (int32_t k = 1; k <= 6; ++k) record.byte[k] = in[i++];
    for (int32_t file = 1; file <= 9; ++file) {
        for (int32_t rank = 1; rank <= 9; ++rank) record.byte[squareOf(file, rank)] = in[i++];
    }
    for (int32_t k = kLowerHandFirst; k <= kLowerHandLast; ++k) record.byte[k] = in[i++];
    for (int32_t k = kUpperHandFirst; k <= kUpperHandLast; ++k) record.byte[k] = in[i++];
}

// Sets bytes 7 and 8: both sides' attack counts on the book move's
// destination in the stored position.
//
// The file is unchecked, so a board byte may be any value 0..255. Such
// records are kept: the position is built with every cell but the 81 squares
// and the hands set to the wall code, and buildAttackMap skips cells that hold
// no piece code, so it stays inside the board whatever the bytes are. A
// record with junk bytes merely never matches a real position.
void setAttackCounts(BookRecord& record) {
    Position p;
    for (int32_t& c : p.cell) c = kOffBoard;
    for (int32_t file = 1; file <= 9; ++file) {
        for (int32_t rank = 1; rank <= 9; ++rank) {
            const int32_t s = squareOf(file, rank);
            p[s] = record.byte[s];
        }
    }
    for (int32_t k = kLowerHandFirst; k <= kLowerHandLast; ++k) p[k] = record.byte[k];
    for (int32_t k = kUpperHandFirst; k <= kUpperHandLast; ++k) p[k] = record.byte[k];
    AttackMap map;
    buildAttackMap(p, map);
    const int32_t square = record.byte[kBookToByte] % kPromotionOffset;
    record.byte[kBookLowerCountByte] = static_cast<uint8_t>(map.lowerCount[square] & 255);
    record.byte[kBookUpperCountByte] = static_cast<uint8_t>(map.upperCount[square] & 255);
}

}  // namespace

int32_t LoadBook(BookTable& book, const std::string& path, BookLoadInfo* info) {
    book.clear();
    constexpr std::size_t kRecordBytes = kBookFileRecordBytes;
    std::string bytes;
    FileReadInfo read;
    const FileRead result = readRegularFileHead(path, kBookCapacity * kRecordBytes, bytes, &read);
    if (info != nullptr) {
        info->read = result;
        info->error = read.error;
        info->fileRecords = static_cast<int64_t>((read.fileBytes + kRecordBytes - 1) / kRecordBytes);
    }
    switch (result) {
        case FileRead::Ok: break;
        case FileRead::NotRegular: return kBookNotRegularFile;
        default: return -1;
    }
    uint8_t in[kRecordBytes];
    for (std::size_t n = 0; kRecordBytes * n < bytes.size(); ++n) {
        const std::size_t got = std::min(kRecordBytes, bytes.size() - kRecordBytes * n);
        bytes.copy(reinterpret_cast<char*>(in), got, kRecordBytes * n);
        // A record cut short by the end of the file is completed with 255.
        for (std::size_t i = got; i < kRecordBytes; ++i) in[i] = kPadByte;
        unpack(in, book.record[n]);
        setAttackCounts(book.record[n]);
    }
    return 0;
}

}  // namespace nusari
