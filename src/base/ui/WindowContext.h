#pragma once
#include "base/AppState.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include <QPoint>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

class QMdiArea;
namespace timing {
class modTimerExact;
} // namespace timing
namespace transport {
class MidiPort;
} // namespace transport
namespace protocol {
class Decoder;
class UnitLink;
struct DecoderTargets;
} // namespace protocol
namespace measure {
struct CurrentMeasurement;
} // namespace measure

namespace base {

class ChildWindow;
class FileDialogs;

// What a child window may ask of the main window.
class MainFrame {
public:
    virtual ~MainFrame() = default;
    virtual void ChildActivated() = 0;
    virtual void ChildUnloaded() = 0;
    // Enables or disables one of the main window's menu entries, by objectName.
    virtual void setMenuEntryEnabled(const QString& objectName, bool enabled) = 0;
    virtual QMdiArea* mdiArea() = 0;
    // Pops the Edit menu (mnuModifica) up at a screen position.
    virtual void popupEditMenu(const QPoint& globalPos) = 0;
    // Says in the status bar how a job ended ("Curva 1 scritta in MDX e verificata in 17,6 s").
    virtual void showStatusMessage(const QString& /*text*/) {}
    // Opens (or brings forward) the window of a menu entry, by its objectName.
    virtual ChildWindow* openChild(const QString& entry) = 0;
};

// What a window may ask of the File menu's open / save / save-as dispatch.
class DocumentService {
public:
    virtual ~DocumentService() = default;
    // Saves under the document's own path (Save As when it has none); false when nothing
    // was written.
    virtual bool SaveDocument(ChildWindow* window) = 0;
    // The save question of a closing document: yes, no or cancel.
    virtual Notifier::Answer AskSaveChanges(int kind, const std::string& title) = 0;
    // The save question and, on yes, beforeSaving (a recording ends first, so that what is
    // saved is complete) and the save: false when the window must stay open.
    virtual bool saveBeforeClosing(ChildWindow* window, const std::string& title,
                                   const std::function<void()>& beforeSaving = {}) = 0;
};

// The shared objects every window works on, created once by Main.
struct WindowContext {
    AppState& app;
    Texts& texts;
    MessageService& messages;
    transport::MidiPort& midi;
    timing::modTimerExact& timer;
    MainFrame* frame = nullptr;
    // The device message decoder and the windows it serves (set by Main).
    protocol::Decoder* decoder = nullptr;
    protocol::DecoderTargets* targets = nullptr;
    // The File menu's open / save / save-as dispatch (set by the main window).
    DocumentService* documents = nullptr;
    // The one owner of the link to the unit: the input, the unit's mode (set by Main).
    protocol::UnitLink* link = nullptr;
    // The one place that shows open and save dialogs (set by the main window).
    FileDialogs* dialogs = nullptr;
    // What the measurement windows share about the measurement on hand (set by Main).
    measure::CurrentMeasurement* measurement = nullptr;

    QString text(int id) const { return QString::fromStdString(texts.text(id)); }
};

// Screen positions and sizes are kept in twips; twipsPerPixel comes from the screen.
inline int twipsToPixels(double twips, double twipsPerPixel) {
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}
// Pixels to twips, held within what a 16-bit record field stores.
inline int16_t pixelsToTwips(int pixels, double twipsPerPixel) {
    return static_cast<int16_t>(std::clamp(std::lround(pixels * twipsPerPixel), -32768L, 32767L));
}

// File names and folders <-> QString: the program holds them as UTF-8 (app/SystemPath.h),
// whatever letters they contain.
inline QString fromSystemPath(const std::string& path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}
inline std::string toSystemPath(const QString& path) {
    const QByteArray b = path.toUtf8();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

// 8-bit text of the files and settings <-> QString.
inline QString fromLatin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string toLatin1(const QString& s) {
    const QByteArray b = s.toLatin1();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

} // namespace base
