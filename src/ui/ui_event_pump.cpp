#include "ui/ui_event_pump.h"

#include <QCoreApplication>

#include "base/failure.h"

namespace verrolift {

UiEventPump::UiEventPump(std::function<bool()> ending, int intervalMs)
    : ending_(std::move(ending)), intervalMs_(intervalMs) {}

void UiEventPump::Yield() {
    if (ending_()) throw RunAborted{};
    if (!sinceLast_.isValid() || sinceLast_.elapsed() >= intervalMs_) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        sinceLast_.restart();
        // A window closed while the events ran: the yielding command does not resume.
        if (ending_()) throw RunAborted{};
    }
}

}  // namespace verrolift
