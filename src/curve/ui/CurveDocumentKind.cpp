#include "curve/ui/CurveDocumentKind.h"
#include "base/WindowRecord.h"
#include "curve/CurveFile.h"
#include "curve/ui/frmProgCurva.h"

using namespace base;

namespace curve {

DocumentKind curveDocumentKind() {
    return documentKindFor(DocKind::Curve,
                           [](WindowContext& ctx, int winNo, const std::string& path,
                              const std::string& bytes, int& refusal) -> ChildWindow* {
                               CrvaReadResult r = parseCrva(bytes);
                               refusal = static_cast<int>(r.refusal);
                               if (r.refusal != CrvaRefusal::None) return nullptr;
                               return new frmProgCurva(ctx, winNo, std::move(r.document), path);
                           });
}

} // namespace curve
