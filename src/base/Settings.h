#pragma once
#include "base/WindowRecord.h"
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// Everything the settings file "ZEPHALON.iniz" keeps between runs. Texts are 8-bit (one
// byte per character), as they stand in the file; the folders and recent documents are
// held as UTF-8 like every path and stored as Latin-1 (a path Latin-1 cannot hold is not
// stored).
struct SettingsData {
    std::string header; // record 1 as last read or written: positions nobody owns survive a save

    uint8_t BatteryMode = 0;       // 18
    uint8_t BatteryTimeDivPos = 0; // 19, battery window HScrollTempoDiv
    bool MIDIThruOn = false;       // 20, written at exit, not read
    int MIDIInDevice = 99;         // 21
    int MIDIOutDevice = 99;        // 22
    uint8_t LangCode = 1;          // 24, 1 Italian, 2 English
    bool StatusBarOn = true;       // 25
    float Param27 = 0;             // 27
    float ScaleParam2 = 0;         // 28
    float LiveDisplay = 1;         // 29, ComAttiva of the measurement windows
    float ScaleParam3 = 1;         // 30
    float ScaleParam4 = 0;         // 31
    uint8_t Param36 = 45;          // 36
    uint8_t RotVScroll1 = 0;       // 37
    uint8_t RotVScroll2 = 9;       // 38
    uint8_t RotVScroll3 = 0;       // 39
    uint8_t RotVScroll4 = 0;       // 40
    uint8_t RotTimeDivPos = 1;     // 41
    uint8_t Param42 = 1;           // 42
    float CoilVBatt = 130;         // 43
    float CoilL = 72;              // 44
    float CoilR = 30;              // 45
    float CoilRPlus = 20;          // 46
    uint16_t RotGraphParam = 0;    // 47-48

    std::array<WindowRecord, 44> WinRec{}; // slots 1-43; [0] unused
    std::string Record2;                   // 92 characters, persisted only
    std::string LastDocFolder;
    std::string LastMeasFolder;
    std::array<RecentDocument, 10> RecentDoc{}; // entries 1-9 stored; [0] unused

    // Serial MIDI ports the user added, in record 15 (older readers stop at record 14).
    std::vector<std::string> SerialPorts;
    std::vector<int> SerialPortBauds; // the line speed of each port, in the same order
    // Ports record 15 lists but a file cut short no longer holds (said once at start).
    std::size_t SerialPortsCutOff = 0;
    // Records after 15 as read, written back unchanged.
    std::string LaterRecords;
};

inline constexpr int kSettingsRecordSize = 500;
inline constexpr std::string_view kSettingsSignature = "ZEPHALON";
// A settings file larger than this is refused by its size without being read (15 records
// plus room for what later versions keep after them).
inline constexpr std::uintmax_t kSettingsMaxFileSize = 1024 * 1024;

// Reads a settings file image. Returns false when the signature does not match (the
// caller then creates a fresh file); fields a short file lacks keep their defaults.
bool parseSettings(std::string_view file, SettingsData& out);

// The image of a newly created settings file: records 1-11, defaults in record 1.
std::string newSettingsFile(const SettingsData& defaults);

// The file image written at exit: record 1 (from out.header with the owned positions
// overwritten), records 2-5, the nine recent documents in records 6-14, and when there are
// serial ports (or later records) record 15 and what follows it.
std::string serializeSettings(const SettingsData& data);

} // namespace base
