// Engine text made safe to print: engines may write any bytes, and a NUL or
// a control byte must neither cut a line nor reach the terminal.
#pragma once

#include <string>
#include <string_view>

namespace nusari {

// `text` with every control byte (including tab, DEL and NUL) and every
// byte that is not part of well-formed UTF-8 written as "\xNN"; a backslash
// becomes "\\" so that the escapes stay unambiguous.
std::string engineText(std::string_view text);

}  // namespace nusari
