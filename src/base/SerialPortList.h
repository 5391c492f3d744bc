#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// The user's raw MIDI ports (serial lines, raw MIDI device nodes, pseudo-terminals), kept in
// record 15 of the settings file. Readers that know only records 1-14 never look at it.
//
// Record 15, 500 characters, positions 1-based:
//   1-10     signature "SERIALMIDI"
//   11       byte: number of paths, 0-8
//   12-491   eight path fields of 60 characters, path n at 12 + (n - 1) * 60, blank padded;
//            unused fields are blank
//   492-499  the line speed of path n at 491 + n: 'M' MIDI's own 31250 baud, anything else
//            (blank in records written before speeds were kept) 38400
//   500      blank
inline constexpr std::string_view kSerialPortSignature = "SERIALMIDI";
inline constexpr std::size_t kSerialPortRecordSize = 500;
inline constexpr std::size_t kSerialPortPathLength = 60;
inline constexpr std::size_t kMaxSerialPorts = 8;
inline constexpr std::size_t kSerialPortRecordNo = 15;
// 38400 baud suits USB bridges that map it onto MIDI's 31250; pseudo-terminals ignore it.
inline constexpr int kSerialDefaultBaud = 38400;
inline constexpr int kSerialMidiBaud = 31250;

// True when the path fits a field and reads back the same: 1-60 characters, no control
// characters, no trailing blank.
bool serialPortPathValid(std::string_view path);

// The record for these paths. Paths that are not valid, and any after the eighth valid
// one, are left out (a cut path would name another device); a repeated path is kept once.
// bauds[i] is the speed of paths[i] (missing entries: 38400).
std::string serializeSerialPortRecord(const std::vector<std::string>& paths,
                                      const std::vector<int>& bauds = {});

// The paths of a record as serializeSerialPortRecord writes it. A missing or foreign record
// (wrong signature, count above 8) gives an empty list; fields that are blank, hold no valid
// path or repeat an earlier path are skipped. A field the end of the record cuts keeps its
// path when a blank follows the path; from the first field cut otherwise, none is read.
std::vector<std::string> parseSerialPortRecord(std::string_view record);
// The speeds of the paths parseSerialPortRecord returns, one each, in the same order.
std::vector<int> parseSerialPortBauds(std::string_view record);
// How many of the paths the record's count announces parseSerialPortRecord could not read
// because the record ends too soon (a settings file cut short).
std::size_t serialPortsCutOff(std::string_view record);

// The name a port is listed under: the last component of its path, or the last two when
// the parent folder is "pts" ("pts/3"), cut to 31 characters.
std::string serialDeviceName(std::string_view path);

} // namespace base
