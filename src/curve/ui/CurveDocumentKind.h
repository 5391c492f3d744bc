#pragma once
#include "base/ui/DocumentKind.h"

namespace curve {

// The advance curve documents (.crva) as the File menu's dispatch sees them: windows 2-11.
base::DocumentKind curveDocumentKind();

} // namespace curve
