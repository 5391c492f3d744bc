#pragma once
#include <string>
#include <string_view>

// Captions of the main window's menu entries, prompts and help window controls that carry
// no string-table id: the design captions, in the language of the string table half in use
// (LangOffset 0 or 200).
std::string designCaption(std::string_view entry, int langOffset);
