#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

namespace verrolift::test {

// Sets one environment variable for its lifetime and then puts back what was
// there before, absent included.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Set(name, value.c_str());
    }
    ~ScopedEnvironment() { Set(name_, old_ ? old_->c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    // nullptr removes the variable.
    static void Set(const char* name, const char* value) {
#ifdef _WIN32
        ::_putenv_s(name, value ? value : "");
#else
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
#endif
    }

    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace verrolift::test
