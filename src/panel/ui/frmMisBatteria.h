#pragma once
#include "base/ui/ChildWindow.h"
#include "panel/BatteryRecording.h"
#include "panel/ui/frmMisBatteriaPicture.h"
#include "protocol/DecoderSinks.h"
#include "protocol/InputNotices.h"
#include "protocol/UnitLink.h"
#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QScrollBar;
class QTimer;

namespace panel {

// The battery voltage window (36): START asks the unit for its supply voltage, the samples
// are kept (slots 0..32000) and drawn on a time grid of ten divisions that moves on a whole
// screen at a time; after STOP the recording can be looked through from any sample.
class frmMisBatteria : public base::ChildWindow,
                       public protocol::BatterySink,
                       public protocol::ModeHolder {
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 9800; // twips
    static constexpr int DefaultHeight = 8000;
    // BatteryStamp in TimerMisBatteria's mode counts milliseconds up to this and wraps to 0.
    static constexpr uint32_t StampWrap = 10'000'000;
    // Picture1 is repainted at most this often (ms) while samples arrive.
    static constexpr int RepaintIntervalMs = 40;

    explicit frmMisBatteria(base::WindowContext& ctx, QWidget* parent = nullptr);
    ~frmMisBatteria() override;

    void Form_Load() override;

    // BatterySink
    void setRevolutions(const std::string& text) override;
    void setStatus(int bits45, const std::string& onOff) override;
    void MisVBatProc(int hundredths) override;

    // How often, while recording, the window looks whether the unit went silent (ms).
    static constexpr int InputCheckMs = 500;
    // The clock of that check in milliseconds (a steady clock unless a test gives another).
    void setMillisecondClock(std::function<int64_t()> clock) { msClock_ = std::move(clock); }
    // What TimerNessunDato does: the notice of a silent unit and of lost messages.
    void checkInput();

    const BatteryRecording& recording() const { return rec_; }
    const BatteryScreenState& screen() const { return screen_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ComStart_Click();
    void showStarted(bool started);
    void startRecording();
    void stopRecording();
    void recordingFull();
    void HScrollTempoDiv_Change(int value);
    void HScrollTempoMem_Change(int value);
    void TimerMisBatteria_Timer();

    // Clears Picture1 down to frame and grid.
    void GrigliaDis();
    // The eleven scale labels beside the horizontal grid lines.
    void GrigliaDisScalaOrd();
    // Draws the screen again from the selected sample on.
    void review(int selected);
    void showScreenTimes();
    void setTimeBase(int position);
    void scheduleRepaint();
    void layoutControls();
    QString volts(int raw) const;

public:
    // ModeHolder: the unit left battery mode by itself (0xD0).
    void modeAnswered(int status) override;
    void modeTimedOut() override;

private:
    // The unit is told to stop and the input let go.
    void endUnitRecording();

    BatteryRecording rec_;
    BatteryScreenState screen_;

    QPushButton* ComStart;
    BatteryPicture* Picture1;
    std::array<QLabel*, 11> Ord{};
    QLabel* LabVBatt;
    QLabel* LabVMax;
    QLabel* LabVMin;
    QLabel* LabTmpIniSca;
    QLabel* LabTmpFineSca;
    QScrollBar* HScrollTempoDiv;
    QLabel* LabTempoDivVal;
    QScrollBar* HScrollTempoMem;
    QTimer* TimerMisBatteria;
    // What the decoder passes on besides the voltage.
    QLabel* LabRot;
    QLabel* LabStato;
    QLabel* LabOnOff;
    // A silent unit or lost input, said while recording.
    QLabel* LabNessunDato;
    QTimer* TimerNessunDato;
    protocol::InputSilence silence_;
    uint32_t overrunsAtStart_ = 0;
    std::function<int64_t()> msClock_;

    QTimer* repaintTimer_;
    bool closed_ = false;
    bool started_ = false; // START pressed: ComStart reads STOP
};

} // namespace panel
