#include "coil/CoilDocument.h"
#include "base/PathNames.h"

namespace coil {

namespace {
bool within(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}
} // namespace

bool valuesInRange(const CoilValues& v) {
    for (const int d : v.dwell)
        if (!within(d, 0, DwellChoices - 1)) return false;
    return within(v.L, LMin, LMax) && within(v.R, RMin, RMax) &&
           within(v.RPerc, RPercMin, RPercMax) && within(v.VR, VRMin, VRMax) &&
           within(v.VBatt, VBattMin, VBattMax);
}

DocImage::DocImage() : image_(Size, '\0') {
    image_.replace(10, PathField, PathField, ' ');
}

void DocImage::setPath(std::string_view path) {
    path_ = std::string(path);
    std::string field(path.substr(0, PathField));
    field.resize(PathField, ' ');
    image_.replace(10, PathField, field);
}

void DocImage::setVR(int rpm) {
    setByte(270, rpm / 256);
    setByte(271, rpm % 256);
}

int DocImage::raw(Quantity q) const {
    switch (q) {
    case Quantity::L:
        return L();
    case Quantity::R:
        return R();
    case Quantity::RPerc:
        return RPerc();
    case Quantity::VBatt:
        return VBatt();
    case Quantity::VR:
        break;
    }
    return VR();
}

void DocImage::setRaw(Quantity q, int value) {
    switch (q) {
    case Quantity::L:
        setL(value);
        return;
    case Quantity::R:
        setR(value);
        return;
    case Quantity::RPerc:
        setRPerc(value);
        return;
    case Quantity::VBatt:
        setVBatt(value);
        return;
    case Quantity::VR:
        setVR(value);
        return;
    }
}

CoilValues DocImage::values() const {
    CoilValues v;
    for (int i = 0; i < BandCount; ++i)
        v.dwell[static_cast<std::size_t>(i)] = dwell(i);
    v.L = L();
    v.R = R();
    v.RPerc = RPerc();
    v.VR = VR();
    v.VBatt = VBatt();
    return v;
}

void DocImage::setValues(const CoilValues& v) {
    for (int i = 0; i < BandCount; ++i)
        setDwell(i, v.dwell[static_cast<std::size_t>(i)]);
    setL(v.L);
    setR(v.R);
    setRPerc(v.RPerc);
    setVR(v.VR);
    setVBatt(v.VBatt);
}

DocImage newProgram(int windowNumber, const std::string& startFolder, char separator) {
    DocImage doc;
    doc.setWindowNumber(windowNumber);
    doc.setModified(true);
    doc.setUntitled(true);
    doc.setPath(startFolder + separator + std::string(NewFileName));
    doc.setValues(CoilValues{});
    return doc;
}

std::string captionFor(std::string_view path) {
    return std::string(CaptionText) + " - " + base::fileNameOf(path);
}

} // namespace coil
