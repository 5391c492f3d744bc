#pragma once
#include "base/Notifier.h"
#include <functional>
#include <string>
#include <vector>

using namespace base;

// Records every box and notice instead of showing it.
class RecordingNotifier : public Notifier {
public:
    struct Box {
        std::string title;
        std::string text;
    };
    std::vector<Box> warnings;
    std::vector<Box> questions;
    std::vector<std::string> notices;
    Answer nextAnswer = Answer::Yes;
    // Called as each warning is shown (what else has happened by then).
    std::function<void()> onWarning;

    void warning(const std::string& title, const std::string& text) override {
        warnings.push_back({title, text});
        if (onWarning) onWarning();
    }
    Answer question(const std::string& title, const std::string& text) override {
        questions.push_back({title, text});
        return nextAnswer;
    }
    void notice(const std::string& text) override { notices.push_back(text); }
};
