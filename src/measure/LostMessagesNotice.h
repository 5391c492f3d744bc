#pragma once
#include <cstdint>
#include <string>

namespace measure {

// What both measurement windows say of the messages the full input ring lost while they
// recorded: "Messaggi persi: 5" (LangOffset 0) / "Messages lost: 5" (200); 8-bit text.
std::string measurementLostNotice(uint32_t lost, int langOffset);

} // namespace measure
