#pragma once

namespace shell {

// The Edit menu's commands on the text box that has the keyboard (a line, a plain or a rich
// text box).
enum class TextCommand { Cut, Copy, Paste };
// Cuts, copies or pastes in the focused text box; nothing when no text box has the keyboard.
void applyTextCommand(TextCommand command);
// The focused, writable text box has a step to undo (or redo).
bool hasTextStep(bool undo);
// Undoes (or redoes) a step of the focused text box. False when it has none.
bool stepText(bool undo);

} // namespace shell
