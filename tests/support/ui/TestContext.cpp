#include "TestContext.h"
#include "base/ui/ChildWindow.h"
#include <QApplication>
#include <QMdiSubWindow>

bool TestFrame::isEnabled(const QString& objectName) const {
    const auto it = menuEnabled.find(objectName);
    return it == menuEnabled.end() || it->second;
}

TestContext::TestContext() {
    ctx.measurement = &measurement;
    app.setAppFolder(folder.path().toStdString());
    app.TwipsPerPixelX = 15;
    app.TwipsPerPixelY = 15;
    area.setFrameShape(QFrame::NoFrame); // the client area is the whole 1200 x 900
    area.resize(1200, 900);
    area.show();
}

TestContext::~TestContext() {
    // Windows still open run their close handlers while the shared objects exist.
    area.closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QMdiSubWindow* TestContext::openChild(ChildWindow* w) {
    QMdiSubWindow* sub = area.addSubWindow(w);
    w->Form_Load();
    sub->show();
    return sub;
}

std::string TestContext::path(const std::string& name) const {
    return folder.path().toStdString() + kPathSeparator + name;
}
