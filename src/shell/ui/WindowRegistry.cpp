#include "shell/ui/WindowRegistry.h"
#include "auxiliary/ui/frmAbout.h"
#include "auxiliary/ui/frmAvviso3.h"
#include "auxiliary/ui/frmBloccoNote.h"
#include "base/ui/QtNotifier.h"
#include "coil/ui/frmProgTempoBobina.h"
#include "curve/ui/CurveDocumentKind.h"
#include "curve/ui/frmProgCurva.h"
#include "measure/ui/frmMisAnt.h"
#include "measure/ui/frmMisRot.h"
#include "measure/ui/frmMisRotNote.h"
#include "panel/ui/frmMisBatteria.h"
#include "panel/ui/frmPannelloControllo.h"
#include "shell/ui/frmMain.h"
#include "timing/ui/frmTimerExact.h"
#include "unit/ui/frmUnitaSimulata.h"

using namespace base;
using namespace timing;
using namespace auxiliary;
using namespace unit;
using namespace panel;
using namespace curve;
using namespace coil;
using namespace measure;

namespace shell {

namespace {
template <class W> frmMain::ChildFactory factory() {
    return [](WindowContext& ctx, int) -> ChildWindow* { return new W(ctx); };
}
} // namespace

void registerWindows(frmMain& main, QtNotifier* notifier, SimulatedUnitSystem* simulated) {
    main.registerChild("mnuBloccoNote", factory<frmBloccoNote>());
    main.registerChild("mnuInfo", factory<frmAbout>());
    main.registerChild("mnuTimerExact", factory<frmTimerExact>());
    main.registerChild("mnuPannelloControllo", factory<frmPannelloControllo>());
    for (const char* entry : {"mnuProgCurva", "mnuNuovoCrva"})
        main.registerChild(entry, [](WindowContext& ctx, int winNo) -> ChildWindow* {
            return new frmProgCurva(ctx, winNo);
        });
    main.documents().registerKind(curveDocumentKind());
    // Kinds in the order of the dialogs' filters: curves, coil programs, ..., text.
    const frmMain::ChildFactory coil = [](WindowContext& ctx, int n) -> ChildWindow* {
        return new frmProgTempoBobina(ctx, n);
    };
    main.registerChild("mnuProgTempoBobina", coil);
    main.registerChild("mnuNuovoIBob", coil);
    main.documents().registerKind(frmProgTempoBobina::documentKind());
    main.documents().registerKind(documentKindFor(DocKind::MonitorText));
    main.registerChild("mnuMisBatteria", factory<frmMisBatteria>());
    main.registerChild("mnuMisAnt", factory<frmMisAnt>());
    main.documents().registerKind(frmMisAnt::documentKind());
    main.registerChild("mnuMisRotNote", factory<frmMisRotNote>());
    main.registerChild("mnuMisRot", factory<frmMisRot>());
    main.documents().registerKind(
        documentKindFor(DocKind::Rotation,
                        [](WindowContext& ctx, int, const std::string& path,
                           const std::string& bytes, int& refusal) -> ChildWindow* {
                            auto* w = new frmMisRot(ctx);
                            if (w->takeDocument(path, bytes)) return w;
                            delete w;
                            refusal = 1;
                            return nullptr;
                        }));
    if (simulated)
        main.registerChild("mnuUnitaSimulata",
                           [simulated](WindowContext& ctx, int) -> ChildWindow* {
                               return new frmUnitaSimulata(ctx, *simulated);
                           });
    // The largest first sizes: the measurement windows, the curve editor, the notebook.
    main.fitFirstSizeTo(frmMisRot::DefaultWidth, frmMisRot::DefaultHeight);
    main.fitFirstSizeTo(frmMisAnt::DefaultWidth, frmMisAnt::DefaultHeight);
    main.fitFirstSizeTo(frmProgCurva::DefaultWidthTwips, frmProgCurva::DefaultHeightTwips);
    if (notifier) {
        QWidget* owner = &main;
        notifier->setNoticeHandler(
            [owner](const QString& text) { frmAvviso3::showNotice(text, owner); });
    }
}

} // namespace shell
