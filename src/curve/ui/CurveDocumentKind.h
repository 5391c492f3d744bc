#pragma once
#include "base/ui/DocumentKind.h"

// The advance curve documents (.crva) as the File menu's dispatch sees them: windows 2-11.
DocumentKind curveDocumentKind();
