#pragma once
#include "base/WindowRecord.h"
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace base {

class Texts;

// Every entry of the main window's menus, in menu order: what it is called, its caption,
// its keys, the window it opens and by which rule, when it is offered and which picture of
// the guide shows it. The frame builds its menus from this table and asks it what to
// enable; the screenshot tool finds its entries here.

enum class Item : uint8_t {
    Menu,      // a menu of the bar, or a submenu of parent
    Entry,     // a command
    Check,     // a command with a check mark
    Choice,    // one of the exclusive checked choices of its menu
    Separator, // a line (name may be empty)
    List,      // count entries named name + index, from firstIndex, hidden until filled
    CheckList, // ... each with a check mark
    Window,    // a window opened by another window, in no menu
};

// The desktop's own key for an entry every program has.
enum class Key : uint8_t {
    None,
    New,
    Open,
    Save,
    SaveAs,
    Close,
    Quit,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    NextChild
};

// How choosing the entry opens its window.
enum class Instances : uint8_t {
    None,     // opens no window
    Single,   // one window: an open one comes forward (by number, or by entry without one)
    FreeSlot, // a new window in the lowest free number of firstWindow..lastWindow
};

// When the entry is offered.
enum class Enabled : uint8_t {
    Always,
    WithChildren,      // while a child window is open
    WithActive,        // while a child window is active; withdrawn at every unload
    ActiveSaves,       // the active window's document can be saved
    ActiveSavesAs,     // ... saved under a new name
    ActiveSheet,       // the active window prints a sheet
    Registered,        // a window or a document kind answers the entry
    RegisteredAndFree, // ... and a window number of its range is free
    Devices,           // the device menus decide
    History,           // the text being typed or the active document has the step
};

// Whether the entry shows.
enum class Shown : uint8_t { Always, WhenRegistered, WithSerialPorts };

struct Entry {
    std::string_view name{};   // objectName
    std::string_view parent{}; // the menu holding it; empty: the menu bar (or none)
    Item item = Item::Entry;
    int textId = 0;                 // string table id of the caption; 0: the design caption
    std::string_view italian{};     // design caption (textId 0)
    std::string_view english{};     //
    bool withProductName = false;   // the caption is followed by the product's name
    Key key = Key::None;            // the desktop's key
    std::string_view alsoKey{};     // a further key ("Ctrl+Y"), portable text
    bool alsoKeyOnlyIfNone = false; // ... only where the desktop names none
    int firstWindow = 0;            // window number(s) it opens; 0: none or no record
    int lastWindow = 0;             //
    Instances instances = Instances::None;
    Enabled enabled = Enabled::Always;
    Shown shown = Shown::Always;
    std::string_view picture{}; // the guide's picture of the window it opens
    int count = 0;              // List
    int firstIndex = 0;         // List
};

// The whole table, in menu order.
std::span<const Entry> entries();
// The entry named name, or nullptr.
const Entry* find(std::string_view name);
// The entry whose window the guide's picture shows, or nullptr.
const Entry* showing(std::string_view picture);
// The caption in the language of texts (string table, or design caption by LangOffset).
std::string caption(const Entry& entry, const Texts& texts);

// What the frame knows when it asks which entries to offer.
struct Situation {
    int childCount = 0;
    // The active child window, when one is active.
    bool activeSaves = false;
    bool activeSavesAs = false;
    bool activeSheet = false;
    // The window records (slot 1-43) and whether a window or a document kind answers an entry.
    const std::array<WindowRecord, 44>* records = nullptr;
    std::function<bool(std::string_view entry)> registered;
};

// The moments the frame updates its menus: loading, a child window becoming active, a
// child window put into the area, a child window unloading.
enum class Moment : uint8_t { Load, Activated, Opened, Unloaded };

// The entries whose state the moment decides, with that state; the others keep theirs.
std::vector<std::pair<std::string_view, bool>> enables(Moment moment, const Situation& s);

// A window open in the area: its number (0 for windows without a record) and its entry.
struct OpenWindow {
    int number = 0;
    std::string_view entry;
};

// What choosing an entry that opens a window does.
struct Opening {
    enum class What : uint8_t { Refused, BringForward, Create } what = What::Refused;
    int number = 0;     // Create: the window number it gets
    std::size_t at = 0; // BringForward: the index into the open windows
};
Opening planOpening(const Entry& entry, const std::array<WindowRecord, 44>& records,
                    std::span<const OpenWindow> open);

} // namespace base
