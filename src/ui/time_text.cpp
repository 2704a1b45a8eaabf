#include "ui/time_text.h"

namespace nusari {

namespace {

std::string formatLocal(std::time_t t, const char* pattern) {
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, pattern, &local);
    return text;
}

}  // namespace

std::string LocalTimeText(std::time_t t) {
    return formatLocal(t, "%Y/%m/%d %H:%M:%S");
}

std::string LocalStampText(std::time_t t) {
    return formatLocal(t, "%Y%m%d%H%M%S");
}

std::string LocalTimeText() {
    return LocalTimeText(std::time(nullptr));
}

}  // namespace nusari
