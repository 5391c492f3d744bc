#pragma once
#include <QString>
#include <map>

class QAction;
class QMenuBar;
namespace base {
class Texts;
} // namespace base

namespace shell {

// The main window's menus as the menu table (app/MenuTable.h) lists them: every menu, entry,
// separator and list entry under its objectName, with its caption and keys. List entries
// and entries shown only under a condition start hidden. The menus of the bar are reached
// through their actions' menu().
std::map<QString, QAction*> buildMenuBar(QMenuBar* bar, const base::Texts& texts);

} // namespace shell
