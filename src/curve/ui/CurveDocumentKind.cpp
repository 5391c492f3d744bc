#include "curve/ui/CurveDocumentKind.h"
#include "base/WindowRecord.h"
#include "curve/CurveFile.h"
#include "curve/ui/frmProgCurva.h"

DocumentKind curveDocumentKind() {
    return documentKindFor(DocKind::Curve,
                           [](WindowContext& ctx, int winNo, const std::string& path,
                              const std::string& bytes, int& refusal) -> ChildWindow* {
                               curve::CrvaReadResult r = curve::parseCrva(bytes);
                               refusal = static_cast<int>(r.refusal);
                               if (r.refusal != curve::CrvaRefusal::None) return nullptr;
                               return new frmProgCurva(ctx, winNo, std::move(r.document), path);
                           });
}
