#pragma once
#include "shell/FileCommands.h"

namespace shell {

// --to-pdf: the printed sheet of a curve or measurement file, written as PDF without a
// window (the toolkit runs on its offscreen platform when none is set).
CommandResult runToPdf(const FileCommand& command, int langOffset, int argc, char** argv);

} // namespace shell
