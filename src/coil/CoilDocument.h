#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace coil {

// Six speed bands, each with a dwell index 0..15 into the list "10,0" .. "2,5".
inline constexpr int BandCount = 6;
inline constexpr int DwellChoices = 16;
using DwellIndexes = std::array<int, BandCount>;

// Raw ranges of the coil and supply data (each raw value is also its scroll bar position).
inline constexpr int LMin = 1, LMax = 255;
inline constexpr int RMin = 1, RMax = 255;
inline constexpr int RPercMin = 0, RPercMax = 100;
inline constexpr int VBattMin = 0, VBattMax = 150;
inline constexpr int VRMin = 1, VRMax = 8000;

// The coil and supply data by name, for code that treats them alike.
enum class Quantity { L, R, RPerc, VBatt, VR };

// The program's values as raw integers: L and R in tenths of mH / Ohm, V Batt in tenths of
// a volt, VR in rpm.
struct CoilValues {
    DwellIndexes dwell{0, 5, 8, 9, 10, 11};
    int L = 50;
    int R = 30;
    int RPerc = 20;
    int VR = 1000;
    int VBatt = 120;
    bool operator==(const CoilValues&) const = default;
};

// True when every value lies in its range (a file holding anything else is refused).
bool valuesInRange(const CoilValues& v);

// The document record a coil window holds: 283 one-byte characters.
//   1 window number, 4 modified flag, 7 untitled flag (1-based positions), 11..260 the path
//   padded with blanks, 261..266 the dwell indexes, 267 L, 268 R, 269 +R %, 270/271 VR high
//   and low byte, 272 V Batt, 273..283 zero.
class DocImage {
public:
    static constexpr std::size_t Size = 283;
    static constexpr std::size_t PathField = 250;

    // Ten bytes 0, 250 blanks, 23 bytes 0.
    DocImage();

    const std::string& bytes() const { return image_; }

    int windowNumber() const { return byteAt(1); }
    void setWindowNumber(int n) { setByte(1, n); }
    bool modified() const { return byteAt(4) == 1; }
    void setModified(bool on) { setByte(4, on ? 1 : 0); }
    bool untitled() const { return byteAt(7) == 1; }
    void setUntitled(bool on) { setByte(7, on ? 1 : 0); }

    // The document's path. The record keeps its first 250 characters; the whole path is
    // kept beside it, so a longer path is still saved where it belongs.
    const std::string& path() const { return path_; }
    void setPath(std::string_view path);

    CoilValues values() const;
    void setValues(const CoilValues& v);
    int dwell(int band) const { return byteAt(261 + band); }
    void setDwell(int band, int index) { setByte(261 + band, index); }
    int L() const { return byteAt(267); }
    void setL(int raw) { setByte(267, raw); }
    int R() const { return byteAt(268); }
    void setR(int raw) { setByte(268, raw); }
    int RPerc() const { return byteAt(269); }
    void setRPerc(int raw) { setByte(269, raw); }
    int VR() const { return byteAt(270) * 256 + byteAt(271); }
    void setVR(int rpm);
    int VBatt() const { return byteAt(272); }
    void setVBatt(int raw) { setByte(272, raw); }
    int raw(Quantity q) const;
    void setRaw(Quantity q, int value);

    // Positions 1-based, as the record's layout names them.
    int byteAt(std::size_t position) const { return static_cast<uint8_t>(image_[position - 1]); }
    void setByte(std::size_t position, int value) {
        image_[position - 1] = static_cast<char>(static_cast<uint8_t>(value));
    }

private:
    std::string image_;
    std::string path_;
};

// "NuovoFile.ibob", the name a new program carries until it is saved under its own.
inline constexpr std::string_view NewFileName = "NuovoFile.ibob";
inline constexpr std::string_view CaptionText = "Programmazione Impulso Bobina";

// A new program of window windowNumber: default values, modified and untitled, path
// startFolder + separator + "NuovoFile.ibob".
DocImage newProgram(int windowNumber, const std::string& startFolder, char separator);

// "Programmazione Impulso Bobina - " + the file name of the path.
std::string captionFor(std::string_view path);

} // namespace coil
