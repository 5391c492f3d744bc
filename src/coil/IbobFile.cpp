#include "coil/IbobFile.h"

namespace coil {

namespace {
constexpr std::size_t kHeaderAt = 11;
constexpr std::size_t kHeaderLength = 10;
constexpr std::size_t kValuesAt = 21;
constexpr std::size_t kValuesFrom = 261; // position in the document record
constexpr std::size_t kValuesLength = 23;

int byteOf(std::string_view file, std::size_t offset) {
    return static_cast<unsigned char>(file[offset]);
}
} // namespace

IbobRead parseIbob(std::string_view file) {
    IbobRead out;
    if (file.size() < FileSize || file.substr(0, Magic.size()) != Magic) return out;
    CoilValues v;
    for (std::size_t i = 0; i < v.dwell.size(); ++i)
        v.dwell[i] = byteOf(file, kValuesAt + i);
    v.L = byteOf(file, kValuesAt + 6);
    v.R = byteOf(file, kValuesAt + 7);
    v.RPerc = byteOf(file, kValuesAt + 8);
    v.VR = byteOf(file, kValuesAt + 9) * 256 + byteOf(file, kValuesAt + 10);
    v.VBatt = byteOf(file, kValuesAt + 11);
    if (!valuesInRange(v)) return out;
    out.code = 0;
    out.values = v;
    out.record = std::string(file.substr(0, FileSize));
    return out;
}

std::string serializeIbob(const DocImage& doc) {
    std::string out(Magic);
    out += doc.bytes().substr(0, kHeaderLength);
    out += doc.bytes().substr(kValuesFrom - 1, kValuesLength);
    static_assert(kHeaderAt + kHeaderLength == kValuesAt && kValuesAt + kValuesLength == FileSize);
    return out;
}

DocImage openedProgram(const IbobRead& file, int windowNumber, std::string_view path) {
    DocImage doc;
    for (std::size_t i = 0; i < kHeaderLength && kHeaderAt + i < file.record.size(); ++i)
        doc.setByte(1 + i, byteOf(file.record, kHeaderAt + i));
    for (std::size_t i = 0; i < kValuesLength && kValuesAt + i < file.record.size(); ++i)
        doc.setByte(kValuesFrom + i, byteOf(file.record, kValuesAt + i));
    doc.setValues(file.values);
    doc.setWindowNumber(windowNumber);
    doc.setModified(false);
    doc.setUntitled(false);
    doc.setPath(path);
    return doc;
}

} // namespace coil
