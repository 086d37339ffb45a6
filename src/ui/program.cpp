#include "ui/program.h"

#include <QCoreApplication>

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
               options_.openUrl ? options_.openUrl : DesktopUrlOpener()} {
    if (!options_.onEnd) options_.onEnd = [] { QCoreApplication::quit(); };
}

Program::~Program() = default;

void Program::Start() {
    login_ = std::make_unique<LoginWindow>(context_);
    try {
        login_->FormLoad();
    } catch (const RunAborted&) {
        return;
    }
    if (ending_) return;
    if (!(main_ && main_->isVisible())) login_->show();
}

void Program::ShowMainWindow() {
    if (ending_) throw RunAborted{};
    if (!main_) {
        main_ = std::make_unique<MainWindow>(context_, *login_);
        main_->FormLoad();
    }
    main_->show();
}

void Program::HideMainWindow() {
    if (main_) main_->hide();
}

void Program::RunMainWindowLoad() {
    if (ending_) throw RunAborted{};
    if (main_) main_->FormLoad();
}

void Program::ShowLoginWindow() {
    if (ending_) throw RunAborted{};
    login_->show();
}

void Program::HideLoginWindow() {
    login_->hide();
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
