#pragma once
#include <QIcon>

namespace base {

// The program's icon (a spark on a dark tile) in 16, 32, 48 and 256 pixels, for the frame,
// its child windows and its message boxes.
QIcon appIcon();

} // namespace base
