// CSA records: the bytes of a .csa file as LoadRecord reads them.
#include "record_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    nusari::fuzz::checkRecordBytes(nusari::fuzz::bytesOf(data, size), true);
    nusari::fuzz::checkTreeBytes(nusari::fuzz::bytesOf(data, size), true);
    return 0;
}
