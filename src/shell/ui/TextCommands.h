#pragma once

// The Edit menu's commands on the text box that has the keyboard (a line, a plain or a rich
// text box).
namespace textcmd {
enum class Command { Cut, Copy, Paste };
// Cuts, copies or pastes in the focused text box; nothing when no text box has the keyboard.
void apply(Command command);
// The focused, writable text box has a step to undo (or redo).
bool hasStep(bool undo);
// Undoes (or redoes) a step of the focused text box. False when it has none.
bool step(bool undo);
} // namespace textcmd
