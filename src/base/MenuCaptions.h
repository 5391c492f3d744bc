#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace base {

// Captions that carry no string-table id (the menu entries' from the menu table, prompts,
// help window controls, command-line refusals): the design captions, in the language of the
// string table half in use (LangOffset 0 or 200).
std::string designCaption(std::string_view entry, int langOffset);
// A design caption with its fields filled in: "%1".."%9" replaced by the fields in order.
std::string designText(std::string_view entry, int langOffset,
                       std::initializer_list<std::string> fields);

} // namespace base
