#include "panel/PanelRequests.h"

namespace panel {

namespace {
constexpr uint32_t kReadMdxData = 0x88;
constexpr uint32_t kReadMsxData = 0x8C;
constexpr uint32_t kProgramMemory = 0x10; // 0x98 / 0x9C
constexpr uint32_t kWriteMdx = 0x80;
constexpr uint32_t kWriteMsx = 0x84;
constexpr uint32_t kAddressBit7 = 0x02;
constexpr uint32_t kDataBit7 = 0x01;

uint32_t pack(uint32_t status, int address, int data) {
    const auto a = static_cast<uint32_t>(address) & 0xFF;
    const auto d = static_cast<uint32_t>(data) & 0xFF;
    if (a > 127) status |= kAddressBit7;
    if (d > 127) status |= kDataBit7;
    return status | (a & 0x7F) << 8 | (d & 0x7F) << 16;
}
} // namespace

uint32_t readRequest(bool mdx, bool dataMemory, int address) {
    uint32_t status = mdx ? kReadMdxData : kReadMsxData;
    if (!dataMemory) status |= kProgramMemory;
    return pack(status, address, 0);
}

uint32_t writeRequest(bool mdx, int address, int data) {
    return pack(mdx ? kWriteMdx : kWriteMsx, address, data);
}

} // namespace panel
