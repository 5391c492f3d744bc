#include "TestContext.h"
#include "app/ui/ChildWindow.h"
#include <QApplication>
#include <QMdiSubWindow>

uint32_t FakeTimerSource::timeSetEvent(int delayMs, int resolutionMs, Proc proc, void* user) {
    ++setCalls;
    if (failNext != 0) {
        failNext = 0;
        return 0;
    }
    const uint32_t id = nextId_++;
    live[id] = {delayMs, resolutionMs, proc, user};
    return id;
}

void FakeTimerSource::timeKillEvent(uint32_t id) {
    ++killCalls;
    live.erase(id);
}

void FakeTimerSource::fire(int n) {
    for (int i = 0; i < n; ++i)
        for (const auto& [id, t] : live)
            t.proc(t.user);
}

bool TestFrame::isEnabled(const QString& objectName) const {
    const auto it = menuEnabled.find(objectName);
    return it == menuEnabled.end() || it->second;
}

TestContext::TestContext() {
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
