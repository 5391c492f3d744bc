#include "measure/LostMessagesNotice.h"

std::string measurementLostNotice(uint32_t lost, int langOffset) {
    const std::string n = std::to_string(lost);
    return langOffset == 200 ? "Messages lost: " + n : "Messaggi persi: " + n;
}
