#include "curve/CurveFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any bytes as a .crva file: the reader must neither crash nor read past the data, and a
// document it accepts must write a file that reads back to the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const curve::CrvaReadResult first = curve::parseCrva(file);
    if (first.refusal != curve::CrvaRefusal::None) return 0;
    const std::string written = curve::serializeCrva(first.document);
    const curve::CrvaReadResult again = curve::parseCrva(written);
    if (again.refusal != curve::CrvaRefusal::None ||
        curve::serializeCrva(again.document) != written)
        std::abort();
    return 0;
}
