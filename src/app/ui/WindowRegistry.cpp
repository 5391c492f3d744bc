#include "app/ui/WindowRegistry.h"
#include "app/ui/QtNotifier.h"
#include "app/ui/frmMain.h"
#include "auxiliary/ui/frmAbout.h"
#include "auxiliary/ui/frmAvviso3.h"
#include "auxiliary/ui/frmBloccoNote.h"
#include "timing/ui/frmTimerExact.h"

namespace {
template <class W> frmMain::ChildFactory factory() {
    return [](WindowContext& ctx, int) -> ChildWindow* { return new W(ctx); };
}
} // namespace

void registerWindows(frmMain& main, QtNotifier* notifier, SimulatedUnitSystem* simulated) {
    (void)simulated;
    main.registerChild("mnuBloccoNote", factory<frmBloccoNote>());
    main.registerChild("mnuInfo", factory<frmAbout>());
    main.registerChild("mnuTimerExact", factory<frmTimerExact>());
    if (notifier) {
        QWidget* owner = &main;
        notifier->setNoticeHandler(
            [owner](const QString& text) { frmAvviso3::showNotice(text, owner); });
    }
}
