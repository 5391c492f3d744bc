#include "auxiliary/TransferProgress.h"
#include "base/MenuCaptions.h"
#include "base/NumberFormat.h"

using namespace base;

namespace auxiliary {

namespace {
// "curva 1", "curve 1 e 2", "impulso bobina" and their English forms.
std::string subjectText(const TransferSubject& s, int langOffset) {
    if (s.kind == TransferSubject::Kind::CoilPulse)
        return designCaption("transferCoil", langOffset);
    if (s.curve == 12) return designCaption("transferBothCurves", langOffset);
    return designText("transferCurve", langOffset, {std::to_string(s.curve)});
}

std::string moduleText(const TransferSubject& s) {
    return s.master ? "MDX" : "MSX";
}

// "1 min 05 s", "7 s".
std::string durationText(int seconds) {
    if (seconds < 60) return std::to_string(seconds) + " s";
    const int s = seconds % 60;
    return std::to_string(seconds / 60) + " min " + (s < 10 ? "0" : "") + std::to_string(s) + " s";
}
} // namespace

int TransferProgress::percent() const {
    if (total <= 0) return 0;
    return static_cast<int>(static_cast<long long>(done) * 100 / total);
}

int TransferProgress::secondsLeft() const {
    if (done <= 0 || total <= 0) return -1;
    const long long leftMs = static_cast<long long>(elapsedMs) * (total - done) / done;
    return static_cast<int>((leftMs + 999) / 1000);
}

std::string transferPhaseText(const TransferSubject& subject, bool verifying, int langOffset) {
    return designText(verifying ? "transferVerifying" : "transferWriting", langOffset,
                      {subjectText(subject, langOffset), moduleText(subject)});
}

std::string transferProgressText(const TransferProgress& progress, int langOffset) {
    const std::string percent = std::to_string(progress.percent()) + "%";
    const int left = progress.secondsLeft();
    if (left < 0) return percent;
    return designText("transferLeft", langOffset, {percent, durationText(left)});
}

std::string transferDoneText(const TransferSubject& subject, long elapsedMs, int langOffset) {
    const long tenths = (elapsedMs + 50) / 100; // to the nearest tenth, a half up
    const std::string seconds = base::withUnit(base::number(tenths / 10.0, 1, langOffset), "s");
    const std::string where = moduleText(subject);
    if (subject.kind == TransferSubject::Kind::CoilPulse)
        return designText("transferDoneCoil", langOffset, {where, seconds});
    if (subject.curve == 12)
        return designText("transferDoneBothCurves", langOffset, {where, seconds});
    return designText("transferDoneCurve", langOffset,
                      {std::to_string(subject.curve), where, seconds});
}

} // namespace auxiliary
