#include "db/odbc_handle.h"

#include <utility>

#include "db/odbc_api.h"

namespace verrolift {

OdbcHandle::OdbcHandle(OdbcHandle&& other) noexcept
    : type_(other.type_), handle_(other.Release()) {}

OdbcHandle& OdbcHandle::operator=(OdbcHandle&& other) noexcept {
    if (this != &other) {
        Free();
        type_ = other.type_;
        handle_ = other.Release();
    }
    return *this;
}

void OdbcHandle::Free() noexcept {
    if (handle_) SQLFreeHandle(static_cast<SQLSMALLINT>(type_), handle_);
    handle_ = nullptr;
}

void* OdbcHandle::Release() noexcept {
    return std::exchange(handle_, nullptr);
}

}  // namespace verrolift
