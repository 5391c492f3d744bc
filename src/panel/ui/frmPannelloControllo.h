#pragma once
#include "base/ui/ChildWindow.h"
#include "base/ui/DocumentKind.h"
#include "panel/PanelState.h"
#include "protocol/DecoderSinks.h"
#include "protocol/UnitLink.h"
#include <QString>
#include <QStringList>
#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTimer;

namespace panel {

// The control panel, window 22: puts the unit into EEPROM access mode, reads and writes
// single bytes of either module's data EEPROM, reads their program memory and shows the MIDI
// traffic in a monitor text. The decoder writes into it through PanelSink while it exists.
class frmPannelloControllo : public base::ChildWindow,
                             public protocol::PanelSink,
                             public base::DocumentWindow,
                             public protocol::ModeHolder {
    Q_OBJECT
public:
    static constexpr int16_t DefaultWidth = 10545; // twips
    static constexpr int16_t DefaultHeight = 6970; // twips

    // The monitor shows what arrived at most this often (ms), in one go.
    static constexpr int MonitorIntervalMs = 200;
    // At most this many of the lines that came since the last showing are shown, the
    // latest ones; the older ones are counted in Text2 as not shown.
    static constexpr int MonitorBatchLines = 1000;

    explicit frmPannelloControllo(base::WindowContext& ctx, QWidget* parent = nullptr);
    ~frmPannelloControllo() override;

    void Form_Load() override;
    // PMIDIOut: a message just sent while ShowSentMsg is set (six hex digits).
    void showSentMessage(const std::string& hex) override;

    // Writes the monitor text to path as 29-byte records (the last one may be shorter),
    // replacing any file of that name atomically; the folder becomes the remembered
    // document folder. False when the file could not be written (nothing is shown).
    bool saveMonitorText(const std::string& path);
    // The File menu's Save As writes the monitor text as CommSalvaText1 does; it has no
    // path of its own, so Save is not offered.
    std::string documentPath() const override { return {}; }
    std::string documentBytes() override;
    void documentSaved(const std::string& /*path*/) override {}
    // The monitor is a trace of the traffic, never a document with unsaved work.
    bool documentModified() const override { return false; }
    // The monitor text as it is saved: every line ends in CR LF.
    const std::string& monitorText() const { return monitorText_; }

    const PanelState& state() const { return state_; }
    // Shows now what the monitor timer would show at its next turn: the waiting lines, the
    // last message received, the byte read and how many messages the full ring lost.
    void flushMonitor();

    // PanelSink
    void enableClearText1() override;
    void setPMIDIIn(const std::string& hex) override;
    void setRdDAT(const std::string& hex) override;
    void appendLog(const std::string& line) override;
    void clearLog() override;

    // ModeHolder: the unit's answer to EEPROM DATI/PROG, or none in time.
    void modeAnswered(int status) override;
    void modeTimedOut() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void layoutControls();
    void render();
    void scheduleMonitor();

    void ComEEPROM_Click();
    void enterEepromAccess();
    void leaveEepromAccess();
    void showAccessEnded();
    void ComSelezMDXMSX_Click();
    void ComDatiProg_Click();
    void VScrollWr_Change(int value);
    void WrADR_Edited(const QString& text);
    void WrDAT_Edited(const QString& text);
    void ComScrivi_Click();
    void VScrollRd_Change(int value);
    void RdADR_Edited(const QString& text);
    void sendReadRequest();
    void CommStop_Click();
    void ClearText1_Click();
    void CommSalvaText1_Click();
    void Form_Unload();

    // The typing rules of WrADR / RdADR; returns the address, or -1 when the text was
    // refused and put back.
    int takeAddressText(QLineEdit* box, QString& lastText, const QString& typed);
    // Shows value in an address box unless the box already names it ("007" stays).
    static void showAddress(QLineEdit* box, QString& lastText, int value);

    QPushButton* ComEEPROM;
    QPushButton* ComSelezMDXMSX;
    QPushButton* ComDatiProg;
    QLineEdit* WrADR;
    QScrollBar* VScrollWr;
    QLineEdit* WrDAT;
    QPushButton* ComScrivi;
    QLineEdit* RdADR;
    QScrollBar* VScrollRd;
    QLabel* RdDAT;
    QLabel* Label8;
    QLabel* Label5;
    QLabel* PMIDIOut;
    QLabel* PMIDIIn;
    QPlainTextEdit* Text1;
    QLineEdit* Text2;
    QPushButton* CommStop;
    QPushButton* ClearText1;
    QPushButton* CommSalvaText1;
    QTimer* TimerMonitor;

    PanelState state_;
    std::string monitorText_;
    QString wrAddrText_;
    QString rdAddrText_;
    QString wrDataText_;
    bool typingWrAddr_ = false;
    // What the decoder handed over since the monitor was last shown.
    QStringList pendingLines_;
    // The log restarted at line 1 since: the next showing replaces the text.
    bool restartView_ = false;
    uint64_t linesNotShown_ = 0;
    QString pendingPMIDIIn_;
    QString pendingRdDAT_;
    uint32_t overrunsAtStart_ = 0;
    bool unloaded_ = false;
};

} // namespace panel
