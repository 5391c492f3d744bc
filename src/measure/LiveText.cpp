#include "measure/LiveText.h"

namespace measure {

void LiveText::add(std::string_view row, int& counter) {
    if (counter >= MaxRows) {
        lines_.clear();
        counter = 0;
        return;
    }
    lines_.emplace_front(row);
    ++counter;
    // Another window's rows may have moved the shared counter: never hold more than a screen.
    if (lines_.size() > static_cast<size_t>(MaxRows)) lines_.pop_back();
}

std::string LiveText::text() const {
    std::string out;
    out.reserve(lines_.size() * 97);
    for (const std::string& line : lines_) {
        out += line;
        out += '\n';
    }
    return out;
}

} // namespace measure
