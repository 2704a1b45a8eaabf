// Reading files that come from outside: regular files only, of a bounded
// size, opened so that a FIFO or a device never makes the program wait.
#pragma once

#include <cstddef>
#include <string>

namespace nusari {

enum class FileRead {
    Ok,
    CannotOpen,  // missing, no permission, a loop of links, ...
    NotRegular,  // a folder, a FIFO, a socket or a device
    TooLarge,    // more than the reader's limit
    ReadFailed,
};

// Reads the whole file at `path` (a symbolic link is followed) into `bytes`.
// Anything but a regular file is refused at once, without waiting on it; a
// file of more than `maxBytes` is refused unread, and one that grows past
// `maxBytes` while it is read is refused too. `bytes` is empty after a
// failure.
FileRead readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

// Like readRegularFile, but a longer file is not refused: only its first
// `maxBytes` are read.
FileRead readRegularFileHead(const std::string& path, std::size_t maxBytes, std::string& bytes);

}  // namespace nusari
