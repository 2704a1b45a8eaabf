// The "$" keys of a CSA file and the KIF header names the tree keeps them
// under: $EVENT is 棋戦, $START_TIME 開始日時 and so on. Other keys are kept
// as they are written.
#pragma once

#include <string>
#include <string_view>

namespace nusari {

struct CsaHeaderKey {
    const char* csa;
    const char* kif;  // UTF-8
};

inline constexpr CsaHeaderKey kCsaHeaderKeys[] = {
    {"EVENT", "棋戦"},         {"SITE", "場所"},        {"START_TIME", "開始日時"},
    {"END_TIME", "終了日時"},  {"TIME_LIMIT", "持ち時間"}, {"OPENING", "戦型"},
};

inline std::string kifKeyOfCsa(std::string_view csa) {
    for (const CsaHeaderKey& k : kCsaHeaderKeys) {
        if (csa == k.csa) return k.kif;
    }
    return std::string(csa);
}

// The CSA key of a tree's header: the mapped one, or the key itself when
// it is a CSA key of capitals, digits and '_'; "" when CSA cannot hold it.
inline std::string csaKeyOfKif(std::string_view kif) {
    for (const CsaHeaderKey& k : kCsaHeaderKeys) {
        if (kif == k.kif) return k.csa;
    }
    if (kif.empty()) return {};
    for (const char c : kif) {
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return {};
    }
    return std::string(kif);
}

}  // namespace nusari
