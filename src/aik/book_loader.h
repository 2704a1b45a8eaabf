// Reading an opening book (.jsk) into the BookTable.
#pragma once

#include <cstdint>
#include <string>

#include "aik/book_table.h"

namespace nusari {

// Size of one record in a .jsk file.
inline constexpr int32_t kBookFileRecordBytes = 101;

// Fills `book` from the .jsk file at `path`; 0 on success, -1 when the file
// cannot be read. The table is emptied first in either case.
int32_t LoadBook(BookTable& book, const std::string& path);

}  // namespace nusari
