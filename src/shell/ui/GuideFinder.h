#pragma once
#include "base/AppState.h"
#include <QString>

namespace shell {

// The user guide of the current language that the Help menu opens: the first existing file
// among the places guideCandidates lists, with the system's data folders; empty when there
// is none. programFolder is the folder of the running program.
QString findUserGuide(const base::AppState& app, const QString& programFolder);

} // namespace shell
