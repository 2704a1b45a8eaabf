// Reading an opening book (.jsk) into the BookTable.
#pragma once

#include <cstdint>
#include <string>

#include "aik/book_table.h"

namespace nusari {

// Size of one record in a .jsk file.
inline constexpr int32_t kBookFileRecordBytes = 101;

// What LoadBook returns for a path that is no regular file (a folder, a
// FIFO, a device): it is refused at once, without waiting on it.
inline constexpr int32_t kBookNotRegularFile = -2;

// Fills `book` from the .jsk file at `path`; 0 on success, -1 when the file
// cannot be read, kBookNotRegularFile. The table is emptied first in every
// case. Records past the table's capacity are left unread.
int32_t LoadBook(BookTable& book, const std::string& path);

}  // namespace nusari
