#pragma once
#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QTimer;
namespace base {
class MessageService;
struct AppState;
} // namespace base

namespace shell {

class DocumentDispatch;

// What a termination signal does (ShutdownSignals calls begin()). Nobody is there to answer:
// 1. from now on nothing waits for the user: boxes go to the standard error stream and
//    questions are answered No (the changes are in the recovery files);
// 2. every document with unsaved changes is written into the start folder as a recovery
//    file, and the names join the list the next start reports (RecoveryFiles.h);
// 3. open menus, message boxes and dialogs are closed or rejected, and once their loops
//    have returned to the program's own, the closing routine runs (File > Exit's sequence).
class SignalClosing : public QObject {
    Q_OBJECT
public:
    SignalClosing(base::AppState& app, DocumentDispatch& documents, base::MessageService& messages,
                  std::function<void()> closeProgram, QObject* parent = nullptr);

    void begin();
    // The recovery files written by begin().
    const std::vector<std::string>& recovered() const { return recovered_; }

private:
    void closeWhenFree();

    base::AppState& app_;
    DocumentDispatch& documents_;
    base::MessageService& messages_;
    std::function<void()> closeProgram_;
    QTimer* timer_;
    std::vector<std::string> recovered_;
    bool begun_ = false;
};

} // namespace shell
