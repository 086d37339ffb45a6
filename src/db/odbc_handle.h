#pragma once

namespace verrolift {

// Owns one ODBC handle of one type (an SQL_HANDLE_* value) and frees it when it goes,
// so that no path, a thrown failure included, leaks a handle or frees one twice.
// A statement handle must go before its connection's, a connection's before the
// environment's: members are declared in that order, or freed by hand first.
class OdbcHandle {
public:
    OdbcHandle() noexcept = default;
    // Takes over handle (may be null: then it owns nothing).
    OdbcHandle(int type, void* handle) noexcept : type_(type), handle_(handle) {}
    ~OdbcHandle() { Free(); }
    OdbcHandle(OdbcHandle&& other) noexcept;
    OdbcHandle& operator=(OdbcHandle&& other) noexcept;
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    void* Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

    // Frees the handle now; afterwards this owns nothing.
    void Free() noexcept;
    // Gives the handle up unfreed: for a handle meant to live as long as the process.
    void* Release() noexcept;

private:
    int type_ = 0;
    void* handle_ = nullptr;
};

}  // namespace verrolift
