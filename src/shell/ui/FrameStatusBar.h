#pragma once
#include <QColor>
#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QTimer;

namespace shell {

// The main window's status line (Picture1): the program's name, the MIDI In and Out lamps,
// how the last job ended, the date and the clock.
class FrameStatusBar : public QWidget {
public:
    explicit FrameStatusBar(QWidget* parent);

    // The load handler: the lamps' normal colours are kept, the clock starts.
    void start();
    // A message went out: the output lamp is red for 300 ms.
    void outputActivity();
    // A decoded incoming message turns the input lamp green until 300 ms after the last one.
    void inputActivity();
    // After the lamps, until the next message.
    void showMessage(const QString& text);

private:
    void tickClock();

    QLabel* LabelNomeAppl = nullptr;
    QLabel* LabelData = nullptr;
    QLabel* LabelTime = nullptr;
    QLabel* Label1MIDIIn = nullptr;
    QLabel* Label2MIDIIn = nullptr;
    QLabel* Label1MIDIOut = nullptr;
    QLabel* Label2MidiOut = nullptr;
    QLabel* LabelMessaggio = nullptr; // how the last job ended
    QTimer* TimerLabel2MIDIIn = nullptr;
    QTimer* TimerLabel2MIDIOut = nullptr;
    QTimer* TimerOrologio = nullptr;
    QElapsedTimer lastInput_; // the last message decoded, for the input lamp
    QColor lampInColour_;
    QColor lampOutColour_;
};

} // namespace shell
