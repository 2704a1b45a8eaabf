#include "ui/time_text.h"

namespace nusari {

std::string LocalTimeText(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return text;
}

std::string LocalTimeText() {
    return LocalTimeText(std::time(nullptr));
}

}  // namespace nusari
