#pragma once

#include <functional>

#include <QElapsedTimer>

#include "base/host.h"

namespace verrolift {

// Lets the windows repaint and take input during long work. Events are
// processed at most once every intervalMs, so a yield per field costs nothing;
// once the program is ending every yield throws RunAborted.
class UiEventPump : public EventPump {
public:
    UiEventPump(std::function<bool()> ending, int intervalMs);
    void Yield() override;
    void SetInterval(int intervalMs) { intervalMs_ = intervalMs; }

private:
    std::function<bool()> ending_;
    int intervalMs_;
    QElapsedTimer sinceLast_;
};

}  // namespace verrolift
