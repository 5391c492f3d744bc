#pragma once
#include "curve/CurveModel.h"
#include <array>
#include <string>

namespace curve {

// What the curve editor shows: which of its controls take input, the captions that change,
// and the read-out beside the cursor. The window renders this; it keeps no rule of its own.

struct CurveEditorEnables {
    bool ComSalva = false;
    bool ComCancella = false;
    bool ComAnnulla = false;
    std::array<bool, CurveCount> ComCrva{};
    bool ComApplica = false;
    bool ComNote = false;
    bool ComProg = false;
    bool ComProgMaster = false;
    bool ComProgSlave = false;
    bool Picture1 = false; // the graph takes the mouse
    bool TextVRM = false;
    bool ComboCA = false;
};

struct CurveEditorState {
    bool fromFile = false; // the document was read from a file
    bool edited = false;   // the curves were edited since the window opened
    bool locked = false;   // a locked document: its curves cannot be changed
    int selected = 1;      // the curve being drawn
    int choice = 1;        // ComboCA: 0, 1, 2 or 12 (both curves go to the unit)
    std::array<bool, CurveCount> hasSegment{};
    // Shown beside the selected one (its button reads "CANC n").
    std::array<bool, CurveCount> shownBeside{};
    // PROG ON was pressed: ComProg reads "PROG OFF" until programming ends.
    bool progAsked = false;
    // The unit answered and answers memory requests for this editor.
    bool programming = false;
    bool transferring = false;

    CurveEditorEnables enables() const;
    // Curve c is drawn: the selected one, and those shown beside it.
    bool shown(int c) const { return c == selected || shownBeside[static_cast<size_t>(c)]; }
    // Curves 1, 2 or both are chosen for the unit.
    bool transferable() const { return choice == 1 || choice == 2 || choice == 12; }
    const char* progCaption() const { return progAsked ? "PROG OFF" : "PROG ON"; }
    // ComCrva n: "AGG n" to show curve n beside the selected one, "CANC n" to hide it.
    std::string showCaption(int c) const;
};

// The four numbers of the read-out at a point of the graph (twips, as the mouse gives them).
struct Readout {
    int rpm = 0;        // speed under the cursor
    double degrees = 0; // advance under the cursor
    long count = 0;     // the count the unit would need for that advance at that speed
    int stored = 0;     // the count the selected curve's table holds at that speed
};
Readout readoutAt(const Curve& selected, double x, double y);
// The read-out named and with its units, numbers in the language (LangOffset):
// "6.000 giri/min | 12,5° | conteggio 345 | in tabella 340",
// "6,000 rpm | 12.5° | count 345 | in table 340".
std::string readoutText(const Readout& r, int langOffset);

} // namespace curve
