// File names and safe saving for the record files.
#pragma once

#include <string>
#include <string_view>

namespace nusari {

// The text from the last "." of `path` when no "/", "\" or ":" follows it;
// empty when there is none.
std::string_view fileExtension(std::string_view path);
// The same in lower case (ASCII letters only).
std::string lowerCaseExtension(std::string_view path);

// Replaces the file at `path` with `bytes`: they go to a new file in the
// same folder, which is then renamed over the old one, so that a failed
// save leaves an existing file as it was. A symbolic link stays a link: the
// file it points to (through any chain of links) is the one replaced. A
// folder, FIFO, socket or device at the path is refused and nothing is
// written. False when anything failed.
bool writeFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace nusari
