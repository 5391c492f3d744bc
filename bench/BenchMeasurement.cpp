#include "BenchMeasurement.h"
#include "protocol/MeasurementRow.h"
#include <string>

using namespace protocol;
using namespace measure;

namespace bench {

RowStore makeMeasurement(size_t count, int variant) {
    RowStore rows(kRowLength);
    std::string text;
    int64_t elapsed = 0;
    const uint32_t shift = static_cast<uint32_t>(variant) * 1700;
    const uint32_t tssPart = 3 + static_cast<uint32_t>(variant);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t tc = 4200 + static_cast<uint32_t>((i * 37 + shift) % 42000);
        const uint32_t ta = tc / 8, tb = tc - ta, tib = tb * 3 / 4, tss = ta / tssPart;
        elapsed += ticksToMicros(tc);
        const std::string rot = formatGrouped(rpmFromTicks(tc));
        const std::string tcText = formatMillisGrouped(ticksToMicros(tc));
        const std::string tbText = formatMillisGrouped(ticksToMicros(tb));
        const std::string taText = formatMillisGrouped(ticksToMicros(ta));
        const std::string tibText = formatMillisGrouped(ticksToMicros(tib));
        const std::string tssText = formatMillis(ticksToMicros(tss));
        RowFields f;
        f.rowNo = static_cast<int64_t>(i % 999'999) + 1;
        f.RotText = rot;
        f.TcText = tcText;
        f.TbText = tbText;
        f.DTbText = "+0.000";
        f.TaText = taText;
        f.TibText = tibText;
        f.TssText = tssText;
        f.A1 = static_cast<int>(i & 0xFF);
        f.A2 = 0x3C;
        f.elapsedUs = elapsed;
        composeRow(f, text);
        rows.append(text);
    }
    return rows;
}

const RowStore& measurement() {
    static const RowStore store = makeMeasurement(kRows);
    return store;
}

} // namespace bench
