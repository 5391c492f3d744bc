// Arbitrary settings records through the serial port list reader: no crash, at most eight
// valid, distinct paths with one known line speed each, and what is read is written back and
// read again unchanged.
#include "FuzzCheck.h"
#include "base/SerialPortList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace base;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view record(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> paths = parseSerialPortRecord(record);
    check(paths.size() <= kMaxSerialPorts);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        check(serialPortPathValid(paths[i]));
        for (std::size_t j = 0; j < i; ++j)
            check(paths[i] != paths[j]);
        check(serialDeviceName(paths[i]).size() <= 31);
    }
    const std::vector<int> bauds = parseSerialPortBauds(record);
    check(bauds.size() == paths.size());
    for (const int baud : bauds)
        check(baud == kSerialDefaultBaud || baud == kSerialMidiBaud);
    const std::string written = serializeSerialPortRecord(paths, bauds);
    check(written.size() == kSerialPortRecordSize);
    check(parseSerialPortRecord(written) == paths);
    check(parseSerialPortBauds(written) == bauds);
    return 0;
}
