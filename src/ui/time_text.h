// Wall-clock texts of the game record and the match log.
#pragma once

#include <ctime>
#include <string>

namespace nusari {

// "yyyy/mm/dd hh:nn:ss" in local time.
std::string LocalTimeText(std::time_t t);
std::string LocalTimeText();
// "yyyymmddhhnnss" in local time, the stamp of an autosaved game's name.
std::string LocalStampText(std::time_t t);

}  // namespace nusari
