#include "base/ui/AppIcon.h"

// The resources live in a static library: naming their initialiser here keeps the linker
// from dropping them. Q_INIT_RESOURCE declares the initialiser where it is used, and the
// resource compiler defines it outside any namespace: the caller stays outside too.
static void initIconResources() {
    Q_INIT_RESOURCE(zephalon);
}

namespace base {

QIcon appIcon() {
    static const bool initialised = (initIconResources(), true);
    (void)initialised;
    QIcon icon;
    for (int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icons/zephalon-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace base
