// Reading an opening book (.jsk) into the BookTable.
#pragma once

#include <cstdint>
#include <string>

#include "aik/book_table.h"
#include "position/regular_file.h"

namespace nusari {

// Size of one record in a .jsk file.
inline constexpr int32_t kBookFileRecordBytes = 101;

// What LoadBook returns for a path that is no regular file (a folder, a
// FIFO, a device): it is refused at once, without waiting on it.
inline constexpr int32_t kBookNotRegularFile = -2;

// What LoadBook found besides its result: why the file could not be read,
// and how many records it holds (a record cut short by the end counts).
struct BookLoadInfo {
    FileRead read = FileRead::Ok;
    int error = 0;  // see FileReadInfo
    int64_t fileRecords = 0;
    // True when the file holds more records than the table takes.
    bool cut() const { return fileRecords > kBookCapacity; }
};

// Fills `book` from the .jsk file at `path`; 0 on success, -1 when the file
// cannot be read, kBookNotRegularFile. The table is emptied first in every
// case. Records past the table's capacity are left unread; `info` (when
// given) tells how many the file holds.
int32_t LoadBook(BookTable& book, const std::string& path, BookLoadInfo* info = nullptr);

}  // namespace nusari
