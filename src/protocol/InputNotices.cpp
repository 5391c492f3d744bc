#include "protocol/InputNotices.h"
#include "base/MenuCaptions.h"

using namespace base;

namespace protocol {

int64_t InputSilence::silentSeconds(int64_t nowMs) const {
    if (!waiting_ || nowMs - last_ < LimitMs) return 0;
    return (nowMs - last_) / 1000;
}

std::string noDataNotice(int64_t seconds, int langOffset) {
    return designText("noticeNoData", langOffset, {std::to_string(seconds)});
}

std::string lostMessagesNotice(uint32_t lost, int langOffset) {
    return designText("noticeMidiLost", langOffset, {std::to_string(lost)});
}

std::string linesNotShownNotice(uint64_t lines, int langOffset) {
    return designText("noticeLinesNotShown", langOffset, {std::to_string(lines)});
}

} // namespace protocol
