#include "coil/CoilFields.h"
#include "coil/CoilSimulation.h"

namespace coil::fields {

bool inTenths(Quantity q) {
    return q != Quantity::RPerc && q != Quantity::VR;
}

std::string textOf(Quantity q, int raw) {
    return inTenths(q) ? tenthsText(raw) : std::to_string(raw);
}

std::optional<int> valueOf(Quantity q, const std::string& text) {
    const std::optional<int> v = inTenths(q) ? entry::tenthsValue(text) : entry::wholeValue(text);
    if (!v && q == Quantity::RPerc && text.empty()) return 0;
    if (!v || *v < field(q).min || *v > field(q).max) return std::nullopt;
    return v;
}

bool valid(Quantity q, const std::string& text) {
    switch (q) {
    case Quantity::VR:
        return entry::validVR(text);
    case Quantity::RPerc:
        return entry::validRPerc(text);
    case Quantity::VBatt:
        return entry::validTenths(text, VBattMax);
    default:
        return entry::validTenths(text);
    }
}

entry::Result key(Quantity q, const std::string& text, entry::Edit edit, char key) {
    switch (q) {
    case Quantity::VR:
        return entry::keyVR(text, edit, key);
    case Quantity::RPerc:
        return entry::keyRPerc(text, edit, key);
    case Quantity::VBatt:
        return entry::keyTenths(text, edit, key, VBattMax);
    default:
        return entry::keyTenths(text, edit, key);
    }
}

} // namespace coil::fields
