#pragma once
#include "base/AppState.h"
#include "base/Texts.h"
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

// When a signal ends the program nobody can answer the save question, so every document
// with unsaved changes is written into the start folder under a recovery name, in its own
// format. The names written are listed in kRecoveryListName beside them; the next start
// says where they are and deletes the list.

inline constexpr const char* kRecoveryListName = "Recupero.lst";

// The document's name as a file name part: the last element of a path or caption (after
// "/", "\" or ":"), without a trailing modified mark "*", blanks and extension. Letters,
// digits, "-", "_" and "." are kept, everything else becomes "_"; at most 40 characters.
std::string recoveryLabel(std::string_view pathOrCaption);

// "Recupero-<label>-<yyyymmdd-hhmmss>.<extension>".
std::string recoveryFileName(std::string_view label, std::string_view extension,
                             const std::tm& when);

// The path of name in the start folder, or, when a file of that name exists already, of
// name with "-2", "-3" ... before its extension.
std::string freeRecoveryPath(const base::AppState& app, const std::string& name);

// Adds the names (files in the start folder) to the list. Returns an empty text on
// success, else the failure.
std::string addToRecoveryList(const base::AppState& app, const std::vector<std::string>& names);

// The names of the list whose files are still there; the list itself is deleted.
std::vector<std::string> takeRecoveryList(const base::AppState& app);

// The start-up message: the text of the list's names with the folder they are in.
std::string recoveryReport(const base::Texts& texts, const base::AppState& app,
                           const std::vector<std::string>& names);

} // namespace shell
