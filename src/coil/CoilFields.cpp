#include "coil/CoilFields.h"
#include "coil/CoilSimulation.h"

namespace coil {

bool inTenths(Quantity q) {
    return q != Quantity::RPerc && q != Quantity::VR;
}

std::string textOf(Quantity q, int raw) {
    return inTenths(q) ? tenthsText(raw) : std::to_string(raw);
}

std::optional<int> valueOf(Quantity q, const std::string& text) {
    const std::optional<int> v = inTenths(q) ? tenthsValue(text) : wholeValue(text);
    if (!v && q == Quantity::RPerc && text.empty()) return 0;
    if (!v || *v < field(q).min || *v > field(q).max) return std::nullopt;
    return v;
}

bool valid(Quantity q, const std::string& text) {
    switch (q) {
    case Quantity::VR:
        return validVR(text);
    case Quantity::RPerc:
        return validRPerc(text);
    case Quantity::VBatt:
        return validTenths(text, VBattMax);
    default:
        return validTenths(text);
    }
}

Result key(Quantity q, const std::string& text, Edit edit, char key) {
    switch (q) {
    case Quantity::VR:
        return keyVR(text, edit, key);
    case Quantity::RPerc:
        return keyRPerc(text, edit, key);
    case Quantity::VBatt:
        return keyTenths(text, edit, key, VBattMax);
    default:
        return keyTenths(text, edit, key);
    }
}

} // namespace coil
