#pragma once
#include <functional>
#include <string>

namespace measure {

class RowStore;

// What the measurement windows share about the current measurement: its one notes text,
// the new-measurement rule of the notes, the live-text counter of both live texts, and how
// each window reaches the others while they are open.
//
// The rotation window (33) sets rotationNotesEdited while it is open; the advance window
// (25) sets advance; the notes window (34) sets notesEditor.
class AdvanceFollower {
public:
    virtual ~AdvanceFollower() = default;
    // The rotation window started: ComStop "Stop", ComNuovaMisura and ComSalva disabled.
    virtual void followStart() = 0;
    // The rotation window stopped: ComStop "Start", ComNuovaMisura and ComSalva enabled.
    virtual void followStop() = 0;
    // The rotation window began a new measurement: Text1, List1 and List2 emptied and the
    // diagram drawn again empty (MADiagrammaDis).
    virtual void followNewMeasurement() = 0;
    // The rotation window closes: its rows (which this window reads) go with it.
    virtual void followRowsGone() = 0;
};

struct CurrentMeasurement {
    // The notes text; the file reader fills it and the writer stores it.
    std::string Notes;
    // Set by a new measurement: the notes window empties the notes when it opens next.
    bool NewMeasurement = false;
    // Rows put in a live text since it was last emptied (0-300), shared by both windows.
    int LiveTextCount = 0;

    // The notes window, while open: its current text (what a save writes).
    std::function<std::string()> notesEditor;
    // The rotation window, while open: the notes changed (its caption gets "*").
    std::function<void()> rotationNotesEdited;
    // The advance window, while open.
    AdvanceFollower* advance = nullptr;
    // The rotation window's rows, while it is open: the advance window reads them instead
    // of keeping its own copy.
    const RowStore* rotationRows = nullptr;

    // The notes as a save writes them: the open editor's text, else the stored text.
    std::string notesForSave() const { return notesEditor ? notesEditor() : Notes; }
};

} // namespace measure
