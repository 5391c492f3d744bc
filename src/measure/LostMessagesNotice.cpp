#include "measure/LostMessagesNotice.h"
#include "base/MenuCaptions.h"

using namespace base;

namespace measure {

std::string measurementLostNotice(uint32_t lost, int langOffset) {
    return designText("noticeMeasurementLost", langOffset, {std::to_string(lost)});
}

} // namespace measure
