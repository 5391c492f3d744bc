#include "coil/CoilSimulation.h"
#include "coil/IbobFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any file image: the reader must neither crash nor read out of bounds; what it accepts
// must be in range, write back as 44 bytes that read the same (its last 23 bytes unchanged),
// and simulate without a figure that is not a number.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const coil::IbobRead read = coil::parseIbob(file);
    if (read.code != 0) return 0;
    if (!coil::valuesInRange(read.values)) std::abort();
    const coil::DocImage doc = coil::openedProgram(read, 12, "/f.ibob");
    const std::string written = coil::serializeIbob(doc);
    const coil::IbobRead again = coil::parseIbob(written);
    if (written.size() != coil::FileSize || again.code != 0 || !(again.values == read.values))
        std::abort();
    // The values and the bytes after them come back as they were read.
    if (written.substr(21) != file.substr(21, coil::FileSize - 21)) std::abort();
    const auto sim = coil::simulate(read.values);
    if (!sim) std::abort();
    // In either language: digits, the decimal and thousands marks, the names and units.
    for (const int lang : {0, 200}) {
        const coil::CoilFigures f = coil::figuresOf(read.values.VR, *sim, lang);
        for (const std::string* s : {&f.LabIbob, &f.LabE, &f.LabPMed, &f.LabEMax})
            if (s->find_first_not_of("0123456789,.IEPmax= AWJ") != std::string::npos) std::abort();
    }
    return 0;
}
