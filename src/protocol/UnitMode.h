#pragma once

namespace protocol {

// The unit's modes, set by the PC's commands.
enum class UnitMode {
    Run,          // engine revolutions are streamed, one five-message burst each
    Programming,  // after 0xD1: memory requests only
    EepromAccess, // after 0xD2: memory requests only
    Battery,      // after 0xD5: battery samples, one five-message cycle every 26 ms
};

} // namespace protocol
