#pragma once
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace measure {

// The live text of a measurement window: the newest row first. It counts the rows put in
// since it was last emptied; once 300 are in, the next row empties it instead of being
// shown, and counting starts again.
class LiveText {
public:
    static constexpr int MaxRows = 300;

    // counter: the live-text counter (shared by the measurement windows).
    void add(std::string_view row, int& counter);
    void clear() { lines_.clear(); }
    size_t size() const { return lines_.size(); }
    // Newest first, each line ending in a line break.
    std::string text() const;

private:
    std::deque<std::string> lines_;
};

} // namespace measure
