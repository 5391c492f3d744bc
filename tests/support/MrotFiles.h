#pragma once
#include "base/FileStore.h"
#include "measure/MrotFile.h"
#include <optional>
#include <string>

using namespace base;
using namespace measure;

// A measurement written whole (atomically: an empty text, or the failure) and read back
// (nothing for a file that cannot be read or is refused).
inline std::string saveMrot(const std::string& file, const MrotDocument& doc) {
    return writeFileAtomically(file, serializeMrot(doc));
}
inline std::optional<MrotDocument> loadMrot(const std::string& file) {
    const std::optional<std::string> bytes = readWholeFile(file);
    if (!bytes) return std::nullopt;
    return parseMrot(*bytes);
}
