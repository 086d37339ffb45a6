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

// Sets the busy pointer for its lifetime and restores the default on every path.
class BusyPointer {
public:
    explicit BusyPointer(WindowPointer& pointer) : pointer_(pointer) {
        pointer_.SetPointer(PointerShape::Busy);
    }
    ~BusyPointer() { pointer_.SetPointer(PointerShape::Default); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    WindowPointer& pointer_;
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
