// A number of an engine file as the loader reads it: what it sets and where
// its text stands in the file, so that a tool can change just that text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "aik/eval_tables.h"

namespace nusari {

enum class AikNumberKind : int32_t {
    Scalar,        // "key=N"
    ArrayElement,  // element `index` of "key[]=A, B, ..."
    TableSlot,     // slot `index` of a "set koma[code]" block
    RuleValue,     // the value of a rule line of a "find koma[code]" block
    KingPieceSlot, // slot `index` of a "set ou[code]" block
};

struct AikNumber {
    AikNumberKind kind = AikNumberKind::Scalar;
    std::string key;    // Scalar, ArrayElement: the key without "=" or "[]="
    int32_t code = 0;   // TableSlot, RuleValue, KingPieceSlot: the block's piece code
    int32_t index = 0;  // ArrayElement: the element; TableSlot, KingPieceSlot: the slot
    FindRule rule;      // RuleValue: the rule as read
    std::size_t begin = 0;  // the number's text in the file: sign and digits
    std::size_t end = 0;
    int32_t value = 0;  // as the loader stored it
};

// Told about every number the loader stores, in file order.
class AikNumberSink {
public:
    virtual ~AikNumberSink() = default;
    virtual void number(const AikNumber& n) = 0;
};

}  // namespace nusari
