#pragma once
#include "app/Notifier.h"
#include <string>
#include <vector>

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

    void warning(const std::string& title, const std::string& text) override {
        warnings.push_back({title, text});
    }
    Answer question(const std::string& title, const std::string& text) override {
        questions.push_back({title, text});
        return nextAnswer;
    }
    void notice(const std::string& text) override { notices.push_back(text); }
};
