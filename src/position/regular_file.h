// Reading files that come from outside: regular files only, of a bounded
// size, opened so that a FIFO or a device never makes the program wait.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace nusari {

enum class FileRead {
    Ok,
    CannotOpen,  // missing, no permission, a loop of links, ...
    NotRegular,  // a folder, a FIFO, a socket or a device
    TooLarge,    // more than the reader's limit
    ReadFailed,
};

// What a read found out besides its result, for messages and callers that
// read only part of a file.
struct FileReadInfo {
    // The errno of the call that failed; EISDIR for a folder and EFBIG for a
    // file over the limit; 0 after success or for another kind of file.
    int error = 0;
    // The file's size as it was opened (0 when it could not be).
    uint64_t fileBytes = 0;
};

// Reads the whole file at `path` (a symbolic link is followed) into `bytes`.
// Anything but a regular file is refused at once, without waiting on it; a
// file of more than `maxBytes` is refused unread, and one that grows past
// `maxBytes` while it is read is refused too. `bytes` is empty after a
// failure.
FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                         FileReadInfo* info = nullptr);

// Like readRegularFile, but a longer file is not refused: only its first
// `maxBytes` are read.
FileRead readRegularFileHead(const std::string& path, std::size_t maxBytes, std::string& bytes,
                             FileReadInfo* info = nullptr);

// Why a read failed, short and in Japanese for the common causes (no such
// file, no permission, a loop of links, a folder, too large), the system's
// text for the rest; empty for FileRead::Ok.
std::string fileReadReason(FileRead result, int error);

}  // namespace nusari
