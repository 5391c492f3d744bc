#pragma once
#include "base/MenuTable.h"
#include "base/ui/WindowContext.h"
#include "curve/ui/CurveEditorList.h"
#include "protocol/DecoderSinks.h"
#include "shell/ui/DocumentDispatch.h"
#include "shell/ui/FramePlacement.h"
#include "transport/MidiPoller.h"
#include "transport/MidiPort.h"
#include <QColor>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QVector>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
namespace base {
class ChildWindow;
class SheetWindow;
} // namespace base
namespace transport {
class RingPollTimer;
class SerialMidiSystem;
} // namespace transport

namespace shell {

class FrameStatusBar;
class HelpWindow;
class ToolkitLanguage;

// The multiple-document frame: menus, status bar with clock and MIDI lamps, device menus,
// window arrangement, and the closing sequence that writes the settings.
class frmMain : public QMainWindow,
                public base::MainFrame,
                public curve::CurveEditorList,
                public transport::MidiPortEvents,
                public protocol::MainWindowSink {
    Q_OBJECT
public:
    // Creates a child window for a window number; registered by the subsystems.
    using ChildFactory = std::function<base::ChildWindow*(base::WindowContext&, int windowNumber)>;

    // The input poller's time is measured on pollClock (none given: the steady clock).
    frmMain(base::WindowContext& ctx, transport::MessageDecoder& decoder,
            transport::PollClock* pollClock = nullptr);
    ~frmMain() override;

    // The load handler: captions, recent documents, device menus, placement.
    void MDIForm_Load();
    // Start-up found no output device: the output menu and thru are disabled.
    void disableOutputMenus();

    // Registers what a View or File entry opens. Entries without a factory stay disabled.
    void registerChild(const QString& entry, ChildFactory factory);
    // Opens (or brings forward) the child window of a menu entry.
    base::ChildWindow* openChild(const QString& entry) override;
    std::vector<curve::OpenCurveDocument> openCurveDocuments() const override;
    // The open / save / save-as dispatch; document kinds register with it.
    DocumentDispatch& documents() { return documents_; }

    // MainFrame
    void ChildActivated() override;
    void ChildUnloaded() override;
    void setMenuEntryEnabled(const QString& objectName, bool enabled) override;
    QMdiArea* mdiArea() override { return mdi_; }
    void popupEditMenu(const QPoint& globalPos) override;
    // In the status bar, after the lamps, until the next message.
    void showStatusMessage(const QString& text) override;

    // MidiPortEvents
    void outputActivity() override;
    void inputPollerDisabled() override;
    // The control panel shows what is sent.
    void showSentMessage(const std::string& hex) override;

    // MainWindowSink: a decoded incoming message turns the input lamp green for 300 ms.
    void inputActivity() override;
    // Starts the main window's ring poller (TimerMIDIIn).
    void enableInputPoller() override;

    // The serial MIDI ports the Preferences menu adds to.
    void setSerialPorts(transport::SerialMidiSystem* serial);
    // Adds a serial MIDI port by its path and line speed, lists it in the device menus and
    // keeps it in the settings; reports a refused path.
    void addSerialPort(const QString& path, int baud = 38400);
    // A serial port hung up or disappeared: its open devices are closed and unchecked and
    // the user is told once, naming the port.
    void serialPortLost(const QString& path);

    // How the Help menu's guide is shown (default, or a null opener: the program's own help
    // window) and the folder of the running program it looks beside (default: the
    // executable's). The opener gets the guide file and the chapter id (empty: the top).
    using GuideOpener = std::function<void(const QString& path, const QString& chapter)>;
    void setGuideOpener(GuideOpener opener, const QString& programFolder);

    // A child window's first size (twips, its frame included): the main window's first size
    // (no stored placement) leaves room for the largest.
    void fitFirstSizeTo(int widthTwips, int heightTwips) {
        placement_.fitFirstSizeTo(widthTwips, heightTwips);
    }

    QAction* action(const QString& objectName) const;
    // Rebuilds the recent documents entries from RecentDoc.
    void refreshRecentDocuments();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    // Preferences > serial port: asks the port's path and line speed.
    void askSerialPort();
    // Edit > Annulla (undo true) / Ripeti: the text being typed in, else the active document.
    void stepHistory(bool undo);
    // Annulla and Ripeti are offered while the text or the active document has that step.
    void updateHistoryEntries();
    void buildStatusBar();
    void buildDeviceMenus();
    void renderDeviceMenus();
    // The guide at its top, or at the chapter of the window in use; ShowMsg 27 when there
    // is no guide.
    void openGuide(bool atWindowInUse);
    void enlargeActiveChild();
    void tile(Qt::Orientation orientation);
    void activateChild(QMdiSubWindow* sub);
    void chooseLanguage(int langCode);
    QString caption(const char* entry) const;
    base::ChildWindow* activeChild() const;
    // File > Stampa and Esporta PDF: the active window's sheet, when it has one.
    base::SheetWindow* activeSheet() const;
    void printActiveSheet();
    void exportActiveSheetPdf();
    // Puts a built child window into the area: load, show, editor menu entries.
    void showChild(base::ChildWindow* child);
    // A window factory or a document kind answers the menu entry.
    bool registered(std::string_view entry) const;
    // Enables the menu entries as the menu table's rules decide at moment.
    void applyMenuRules(base::Moment moment);

    base::WindowContext& ctx_;
    transport::MessageDecoder& decoder_;
    FramePlacement placement_;
    transport::SerialMidiSystem* serial_ = nullptr;
    QMdiArea* mdi_ = nullptr;
    std::map<QString, QAction*> actions_;
    std::map<QString, ChildFactory> factories_;
    base::FileDialogs dialogs_;
    DocumentDispatch documents_;
    QVector<QAction*> devOut_;
    QVector<QAction*> devIn_;
    QVector<QAction*> recent_;
    QMenu* mnuModifica_ = nullptr;
    FrameStatusBar* status_ = nullptr;
    transport::RingPollTimer* TimerMIDIIn = nullptr;
    std::unique_ptr<ToolkitLanguage> language_;
    GuideOpener guideOpener_;
    HelpWindow* help_ = nullptr; // one for the whole run, made at the first request
    QString programFolder_;
    bool loaded_ = false;
    bool closed_ = false;
    bool reactivating_ = false;
};

} // namespace shell
