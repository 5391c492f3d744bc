#include "auxiliary/TransferProgress.h"
#include "base/NumberFormat.h"

namespace {
bool english(int langOffset) {
    return langOffset == 200;
}

// "curva 1", "curve 1 e 2", "impulso bobina" and their English forms.
std::string subjectText(const TransferSubject& s, bool en) {
    if (s.kind == TransferSubject::Kind::CoilPulse) return en ? "coil pulse" : "impulso bobina";
    if (s.curve == 12) return en ? "curves 1 and 2" : "curve 1 e 2";
    return (en ? "curve " : "curva ") + std::to_string(s.curve);
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
    const bool en = english(langOffset);
    const std::string what = subjectText(subject, en);
    if (en)
        return (verifying ? "Verifying " : "Writing ") + what + (verifying ? " in " : " into ") +
               moduleText(subject);
    return (verifying ? "Verifica " : "Scrittura ") + what + " in " + moduleText(subject);
}

std::string transferProgressText(const TransferProgress& progress, int langOffset) {
    const std::string percent = std::to_string(progress.percent()) + "%";
    const int left = progress.secondsLeft();
    if (left < 0) return percent;
    if (english(langOffset)) return percent + " - " + durationText(left) + " left";
    return percent + " - mancano " + durationText(left);
}

std::string transferDoneText(const TransferSubject& subject, long elapsedMs, int langOffset) {
    const bool en = english(langOffset);
    const long tenths = (elapsedMs + 50) / 100; // to the nearest tenth, a half up
    const std::string seconds = numfmt::withUnit(numfmt::number(tenths / 10.0, 1, langOffset), "s");
    std::string what = subjectText(subject, en);
    what[0] = static_cast<char>(what[0] - 'a' + 'A');
    const std::string where = moduleText(subject);
    if (en) return what + " written into " + where + " and verified in " + seconds;
    const bool plural = subject.kind == TransferSubject::Kind::Curve && subject.curve == 12;
    const bool male = subject.kind == TransferSubject::Kind::CoilPulse;
    const std::string ending = plural ? "e" : male ? "o" : "a";
    return what + " scritt" + ending + " in " + where + " e verificat" + ending + " in " + seconds;
}
