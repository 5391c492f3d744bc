#include "measure/ui/MeasurementReading.h"
#include "measure/CurrentMeasurement.h"
#include "measure/MrotFile.h"
#include "measure/NotesCutNotice.h"
#include "measure/RowStore.h"

using namespace base;

namespace measure {

bool readMeasurementFile(WindowContext& ctx, const std::string& path, std::string_view bytes,
                         RowStore& rows) {
    rows.clear();
    const std::optional<MrotDocument> read =
        parseMrot(bytes, [&rows](std::string_view row) { rows.append(row); });
    if (!read) {
        rows.clear();
        return false;
    }
    ctx.measurement->Notes = read->notes;
    ctx.measurement->NewMeasurement = false;
    if (read->notesCut)
        ctx.messages.ShowMsg(1, kAppTitle, notesCutNotice(path, ctx.texts.LangOffset));
    return true;
}

} // namespace measure
