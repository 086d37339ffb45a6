#pragma once

namespace verrolift {

// Lets the window system process pending events during long work.
// Throws RunAborted (base/failure.h) when the program is closing.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void Yield() = 0;
};

// A window's pointer setting.
enum class PointerShape : int { Default = 0, Busy = 11, Custom = 99 };

class WindowPointer {
public:
    virtual ~WindowPointer() = default;
    virtual void SetPointer(PointerShape shape) = 0;
    virtual PointerShape Pointer() const = 0;
};

// The busy pointer of a long command, put back to default on every way out of it:
// by Restore() where its failure can be reported, else when the guard goes, where a
// pointer that cannot be set is no reason to stop.
class BusyPointer {
public:
    explicit BusyPointer(WindowPointer& pointer) : pointer_(pointer) {}
    ~BusyPointer() {
        if (!busy_) return;
        try {
            pointer_.SetPointer(PointerShape::Default);
        } catch (...) {
        }
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    void Show() {
        busy_ = true;
        pointer_.SetPointer(PointerShape::Busy);
    }
    void Restore() {
        pointer_.SetPointer(PointerShape::Default);
        busy_ = false;
    }

private:
    WindowPointer& pointer_;
    bool busy_ = false;
};

// For callers with no window: nothing to pump, no pointer to show.
class NoEventPump : public EventPump {
public:
    void Yield() override {}
};

class NoWindowPointer : public WindowPointer {
public:
    void SetPointer(PointerShape shape) override { shape_ = shape; }
    PointerShape Pointer() const override { return shape_; }

private:
    PointerShape shape_ = PointerShape::Default;
};

}  // namespace verrolift
