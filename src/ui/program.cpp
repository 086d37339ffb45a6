#include "ui/program.h"

#include <QApplication>

#include "base/failure.h"
#include "ui/login_window.h"
#include "ui/main_window.h"

namespace verrolift {

Program::Program(ProgramOptions options)
    : options_(std::move(options)),
      pump_([this] { return ending_; }, options_.yieldIntervalMs),
      context_{*options_.dialogs,
               *options_.settings,
               pump_,
               *this,
               options_.programFolder,
               options_.random ? options_.random : TimerSeededFraction(),
               options_.openUrl ? options_.openUrl : DesktopUrlOpener(),
               options_.progressIntervalMs} {
    if (!options_.onEnd) options_.onEnd = [] { QCoreApplication::quit(); };
}

Program::~Program() = default;

void Program::Start() {
    login_ = std::make_unique<LoginWindow>(context_);
    loginPlace_.emplace(login_.get());
    try {
        login_->FormLoad();
    } catch (const RunAborted&) {
        return;
    }
    if (ending_) return;
    if (!(main_ && main_->isVisible())) loginPlace_->Show();
}

void Program::ShowMainWindow() {
    if (ending_) throw RunAborted{};
    if (!main_) {
        main_ = std::make_unique<MainWindow>(context_, *login_);
        mainPlace_.emplace(main_.get());
        main_->FormLoad();
    }
    mainPlace_->Show();
}

void Program::HideMainWindow() {
    if (mainPlace_) mainPlace_->Hide();
}

void Program::RunMainWindowLoad() {
    if (ending_) throw RunAborted{};
    if (main_) main_->FormLoad();
}

void Program::ShowLoginWindow() {
    if (ending_) throw RunAborted{};
    loginPlace_->Show();
}

void Program::HideLoginWindow() {
    loginPlace_->Hide();
}

QWidget* Program::DialogOwner() const {
    QWidget* active = QApplication::activeWindow();
    for (QWidget* w : {static_cast<QWidget*>(main_.get()), static_cast<QWidget*>(login_.get())})
        if (w && w == active && w->isVisible()) return w;
    // No window of the program is active, as right after another box closed.
    for (QWidget* w : {static_cast<QWidget*>(main_.get()), static_cast<QWidget*>(login_.get())})
        if (w && w->isVisible()) return w;
    return nullptr;
}

void Program::EndProgram() {
    if (ending_) return;
    ending_ = true;
    // Both windows go at once, hidden ones included; no further handler runs.
    if (main_) main_->hide();
    if (login_) login_->hide();
    options_.onEnd();
}

}  // namespace verrolift
