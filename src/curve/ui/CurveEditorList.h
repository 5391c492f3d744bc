#pragma once
#include "base/ui/WindowContext.h"
#include "curve/CurveModel.h"
#include <QString>
#include <string>
#include <vector>

class QObject;

namespace curve {

// An open curve editor's document as other windows may read it (the advance window lays
// its curves over the diagram); window only tells two entries apart.
struct OpenCurveDocument {
    QString title;
    std::string path;
    const CurveDocument* document = nullptr;
    const QObject* window = nullptr;
};

// What the main window tells of its open curve editors. A window above the curve editor
// finds it on its frame (ctx.frame); a frame without curve editors need not offer it.
class CurveEditorList {
public:
    virtual ~CurveEditorList() = default;
    // The documents of the open curve editors, in window order.
    virtual std::vector<OpenCurveDocument> openCurveDocuments() const = 0;
};

// The open curve editors' documents of a frame, none when it offers no list.
inline std::vector<OpenCurveDocument> openCurveDocumentsOf(const base::MainFrame* frame) {
    const auto* list = dynamic_cast<const CurveEditorList*>(frame);
    return list ? list->openCurveDocuments() : std::vector<OpenCurveDocument>{};
}

} // namespace curve
