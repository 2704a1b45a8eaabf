// KIF and KI2 records: the bytes of a .kif, .kifu, .ki2 or .ki2u file as
// LoadRecord reads them.
#include "record_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    nusari::fuzz::checkRecordBytes(nusari::fuzz::bytesOf(data, size), false);
    nusari::fuzz::checkTreeBytes(nusari::fuzz::bytesOf(data, size), false);
    return 0;
}
