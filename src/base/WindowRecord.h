#pragma once
#include <cstdint>
#include <string>

namespace base {

// Placement and open state of one window slot (twips).
struct WindowRecord {
    int16_t Top = 0;
    int16_t Left = 0;
    int16_t Width = 0;
    int16_t Height = 0;
    int16_t MaxWidth = 0;  // in memory only
    int16_t MaxHeight = 0; // in memory only
    // 0 not open, 1 open normal, 2 open minimised; slot 1: 0 normal, 1 minimised, 2 maximised.
    uint8_t State = 0;
    uint8_t Spare = 0;
};

// One entry of the recently used documents list.
struct RecentDocument {
    std::string Path; // UTF-8, blank-trimmed
    int16_t SizeA = 0;
    int16_t SizeB = 0;
    int16_t Left = 0;
    int16_t Top = 0;
    uint8_t Kind = 0;
    uint8_t Flags = 0;
};

// Window numbers (slots of WinRec).
inline constexpr int MainWindow = 1;
inline constexpr int FirstCurveWindow = 2;
inline constexpr int LastCurveWindow = 11;
inline constexpr int FirstCoilWindow = 12;
inline constexpr int LastCoilWindow = 21;
inline constexpr int PanelWindow = 22;
inline constexpr int AdvanceWindow = 25;
inline constexpr int RotationWindow = 33;
inline constexpr int NotesWindow = 34;
inline constexpr int BatteryWindow = 36;
inline constexpr int NotebookWindow = 38;
inline constexpr int AboutWindow = 40;
inline constexpr int WindowCount = 43;

} // namespace base
