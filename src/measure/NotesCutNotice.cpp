#include "measure/NotesCutNotice.h"
#include "measure/MrotFile.h"

namespace measure {

std::string notesCutNotice(std::string_view path, int langOffset) {
    const std::string kb = std::to_string(kMrotNotesLimit / 1024);
    const std::string file(path);
    if (langOffset == 200)
        return "The notes of the file " + file + " are longer than " + kb +
               " KB: only their beginning was read. All the rows of the measurement were "
               "loaded.";
    return "Le note del file " + file + " superano i " + kb +
           " KB: ne \xC3\xA8 stata letta solo la prima parte. Le righe della misura sono state "
           "caricate tutte.";
}

} // namespace measure
