#include "panel/MonitorFile.h"

namespace panel {

std::size_t monitorRecordCount(std::size_t textLength) {
    return (textLength + MonitorRecordLength - 1) / MonitorRecordLength;
}

std::string monitorFileImage(std::string_view text) {
    std::string image;
    image.reserve(text.size());
    const std::size_t n = monitorRecordCount(text.size());
    for (std::size_t i = 0; i < n; ++i)
        image += text.substr(i * MonitorRecordLength, MonitorRecordLength);
    return image;
}

} // namespace panel
