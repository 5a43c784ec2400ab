// The program as main() builds it, in a temporary working directory, with modal dialogs
// answered as they open.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

#include "records/dialogs/hiscore.h"
#include "records/dialogs/input.h"
#include "shell/about.h"
#include "shell/about_eng.h"
#include "shell/delay.h"
#include "shell/main_form.h"
#include "shell/options.h"
#include "shell/unit1.h"

namespace zonky::test {

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

struct Program {
    Program() : previous(QDir::currentPath()) {
        QDir::setCurrent(dir.path());
        form = std::make_unique<TMainForm>(12345);
        OpForm = std::make_unique<TOpForm>(form->settings(), form.get());
        InputName = std::make_unique<TInputName>(form.get());
        HiScoreForm = std::make_unique<THiScoreForm>(form->hiScores(), form.get());
        AboutFormRus = std::make_unique<TAboutFormRus>(form.get());
        Form2 = std::make_unique<TForm2>(form->settings(), form.get());
        AboutFormEng = std::make_unique<TAboutFormEng>(form.get());
        form->AttachDialogs({OpForm.get(), InputName.get(), HiScoreForm.get(), AboutFormRus.get(),
                             Form2.get(), AboutFormEng.get()});
    }
    ~Program() {
        AboutFormEng.reset();
        Form2.reset();
        AboutFormRus.reset();
        HiScoreForm.reset();
        InputName.reset();
        OpForm.reset();
        form.reset();
        QDir::setCurrent(previous);
    }
    QString File(const char* name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString previous;
    ModalAnswers answers;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<TOpForm> OpForm;
    std::unique_ptr<TInputName> InputName;
    std::unique_ptr<THiScoreForm> HiScoreForm;
    std::unique_ptr<TAboutFormRus> AboutFormRus;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TAboutFormEng> AboutFormEng;
};

}  // namespace zonky::test
