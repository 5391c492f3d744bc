#include "measure/MrotFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace measure;

// Any file image, version 1 or 2: the reader must neither crash nor read out of bounds, and
// a measurement it accepts must write back as a version 2 file that reads back with the
// same rows, each 95 characters long.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const auto doc = parseMrot(file);
    if (!doc) return 0;
    for (const std::string& row : doc->rows)
        if (row.size() != 95) std::abort();
    const std::string written = serializeMrot(*doc);
    const auto again = parseMrot(written);
    if (!again || again->version != 2 || again->rows != doc->rows) std::abort();
    if (written.size() % kMrotRecord != 0) std::abort();
    return 0;
}
