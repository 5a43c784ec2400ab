// The program as main() builds it, in a temporary working directory, with modal dialogs
// answered as they open.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

#include "shell/delay.h"
#include "shell/program.h"

namespace zonky::test {

// Runs the event loop until the condition holds or the time is up.
inline bool WaitFor(const std::function<bool()>& condition, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) return false;
        QTest::qWait(5);
    }
    return true;
}

// Closes each modal dialog that opens with the next handler (accepting it when none is left)
// and notes which dialogs it saw.
class ModalAnswers {
  public:
    using Handler = std::function<void(QDialog&)>;
    ModalAnswers() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    void Then(Handler handler) { handlers_.push_back(std::move(handler)); }
    std::vector<QString> seen;  // object names of the dialogs, in order

  private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            current_ = nullptr;
            return;
        }
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (dialog == nullptr || dialog == current_) return;
        current_ = dialog;
        seen.push_back(dialog->objectName().isEmpty() ? dialog->metaObject()->className()
                                                      : dialog->objectName());
        if (handlers_.empty()) {
            dialog->accept();
        } else {
            Handler handler = std::move(handlers_.front());
            handlers_.pop_front();
            handler(*dialog);
        }
        // The same dialog may open again before the next poll (Form2 says hello and good-bye).
        if (!dialog->isVisible()) current_ = nullptr;
    }

    QTimer timer_;
    std::deque<Handler> handlers_;
    QDialog* current_ = nullptr;
};

// The program in its own working directory, which is put back afterwards. Its dialogs are
// all made at once unless `madeWhenNeeded`, as the program itself makes them.
struct ProgramInTempDir {
    explicit ProgramInTempDir(bool madeWhenNeeded = false) : previous(QDir::currentPath()) {
        QDir::setCurrent(dir.path());
        windows = std::make_unique<::zonky::Program>();
        form = &windows->MainForm;
        Form2 = &windows->Form2;
        if (madeWhenNeeded) return;
        const Dialogs dialogs = windows->AllDialogs();
        InputName = dialogs.InputName;
        HiScoreForm = dialogs.HiScoreForm;
    }
    ~ProgramInTempDir() {
        windows.reset();
        QDir::setCurrent(previous);
    }
    QString File(const char* name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString previous;
    ModalAnswers answers;
    std::unique_ptr<::zonky::Program> windows;
    TMainForm* form = nullptr;
    TInputName* InputName = nullptr;
    THiScoreForm* HiScoreForm = nullptr;
    TForm2* Form2 = nullptr;
};

}  // namespace zonky::test
