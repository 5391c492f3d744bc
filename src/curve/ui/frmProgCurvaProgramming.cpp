#include "auxiliary/ui/frmProgressBar.h"
#include "curve/ui/frmProgCurva.h"
#include "protocol/Decoder.h"
#include "transport/MidiPort.h"
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

using namespace base;
using namespace protocol;
using namespace auxiliary;

namespace curve {

// The curve editor's dialogue with the unit: programming mode switched on and off, and the
// transfer of curve 1, 2 or both with its progress window.

using namespace curve;

namespace {
constexpr int kMsgEepromWrite = 6; // "Errore scrittura EEPROM"
constexpr int kMsgNoAnswer = 8;    // "Nessuna risposta dalla centralina"
constexpr int kMsgCancelled = 13;  // "Operazione annullata"
constexpr int kMsgInsertOnly = 1;  // the text given
} // namespace

void frmProgCurva::ComProg_Click() {
    if (view_.progAsked) {
        programmingOff();
        return;
    }
    if (!ctx.link) return;
    // The unit serves one window at a time: another one's mode or a recording comes first.
    if (const int blocker = ctx.link->modeBlocker(windowNumber())) {
        ctx.messages.ShowMsg(kMsgInsertOnly, ctx.app.MsgTitle,
                             unitHeldNotice(*ctx.link, blocker, ctx.texts.LangOffset));
        return;
    }
    view_.progAsked = true;
    ctx.app.CurrentWinNo = windowNumber();
    if (ctx.decoder) {
        ctx.decoder->ProgOnAck = false;
        ctx.decoder->ProgAckD0 = false;
    }
    ctx.link->enterMode(windowNumber(), UnitMode::Programming, this);
    render();
}

void frmProgCurva::programmingOff() {
    // The unit goes back to run mode at once; what the user is told comes after.
    const bool cancelled = transfer_.running();
    if (cancelled) {
        transfer_.stop();
        TimerProg->stop();
    }
    if (ctx.link) ctx.link->leaveMode(windowNumber());
    view_.progAsked = false;
    if (cancelled) endTransfer(kMsgCancelled);
    render();
}

void frmProgCurva::offer(uint32_t message) {
    wait_.offer(message);
}

void frmProgCurva::modeAnswered(int status) {
    if (status == 0xD1) {
        view_.progAsked = true;
        render();
        return;
    }
    // 0xD0: the unit is in run mode, refusing PROG ON or leaving programming by itself.
    const bool wasTransferring = transfer_.running();
    if (wasTransferring) {
        transfer_.stop();
        TimerProg->stop();
    }
    view_.progAsked = false;
    if (wasTransferring) endTransfer(0);
    render();
    ctx.messages.ShowMsg(kMsgInsertOnly, ctx.app.MsgTitle, modeRefusedNotice(ctx.texts.LangOffset));
}

void frmProgCurva::modeTimedOut() {
    view_.progAsked = false;
    render();
    ctx.messages.ShowMsg(kMsgNoAnswer, ctx.app.MsgTitle, "");
}

void frmProgCurva::startTransfer(bool master) {
    if (!view_.enables().ComProgMaster) return;
    CurveTransfer::Setup setup;
    setup.master = master;
    setup.choice = view_.choice;
    setup.maxRpm = static_cast<int>(leadingNumber(toLatin1(TextVRM->text())));
    setup.table1 = doc_.curves[1].CurveTable;
    setup.table2 = doc_.curves[2].CurveTable;
    ctx.midi.ProgMaster = master;
    subject_ = {TransferSubject::Kind::Curve, setup.choice, master};
    transfer_.start(setup);
    render();
    emit historyChanged();
    TimerProg->start();
}

void frmProgCurva::TimerProg_Timer() {
    if (!transfer_.running()) {
        TimerProg->stop();
        return;
    }
    const int stateBefore = transfer_.ProgState;
    const CurveTransfer::Outcome outcome = transfer_.tick(CurveTransfer::TickMs);
    if (stateBefore == 0) {
        // Over this editor, whichever window the user is in: nothing comes to the front.
        ctx.app.CurrentWinNo = windowNumber();
        progress_ = frmProgressBar::open(ctx, this);
        progress_->ProgressBar1->setRange(0, 108);
    }
    if (progress_) {
        progress_->setWindowTitle(QString::fromLatin1(transfer_.progressCaption().c_str()));
        // In both-curves mode the phase names the curve in hand.
        const TransferSubject now{TransferSubject::Kind::Curve, transfer_.ProgCurve,
                                  subject_.master};
        progress_->showProgress(QString::fromStdString(transferPhaseText(now, transfer_.verifying(),
                                                                         ctx.texts.LangOffset)),
                                transfer_.progress());
    }
    switch (outcome) {
    case CurveTransfer::Outcome::Running:
        return;
    case CurveTransfer::Outcome::Completed:
        endTransfer(0);
        if (ctx.frame)
            ctx.frame->showStatusMessage(QString::fromStdString(
                transferDoneText(subject_, transfer_.progress().elapsedMs, ctx.texts.LangOffset)));
        return;
    case CurveTransfer::Outcome::Failed:
        endTransfer(kMsgEepromWrite);
        return;
    case CurveTransfer::Outcome::NoAnswer:
        endTransfer(kMsgNoAnswer);
        return;
    }
}

// The transfer ends: timer off, the progress window unloaded, the editor given back, and
// a failure told (messageCode 0: completed).
void frmProgCurva::endTransfer(int messageCode) {
    transfer_.stop();
    TimerProg->stop();
    closeProgress();
    render();
    emit historyChanged();
    if (messageCode) ctx.messages.ShowMsg(messageCode, ctx.app.MsgTitle, "");
}

void frmProgCurva::closeProgress() {
    if (progress_) progress_->unloadWindow();
    progress_.clear();
}

} // namespace curve
