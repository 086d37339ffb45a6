#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/host.h"
#include "support/recording_dialogs.h"

namespace verrolift::test {

// Upper-case hexadecimal of bytes, as SQLite's hex() and PostgreSQL's upper(encode(..., 'hex')).
std::string Hex(std::string_view bytes);

// A string literal for SQL text: apostrophes doubled.
std::string Literal(std::string_view bytes);

// Whether bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsUtf8(std::string_view bytes);

// A failure description begins with a record's "[SQLSTATE] " and has a message after it.
bool HasStatePrefix(const std::string& description);

// Also remembers the pointer shape at the moment each message was shown.
class PointerWatchingDialogs : public RecordingDialogs {
public:
    explicit PointerWatchingDialogs(const WindowPointer& pointer) : pointer_(pointer) {}
    void ShowMessage(const std::string& text) override {
        pointerAtMessage.push_back(pointer_.Pointer());
        RecordingDialogs::ShowMessage(text);
    }
    std::vector<PointerShape> pointerAtMessage;

private:
    const WindowPointer& pointer_;
};

}  // namespace verrolift::test
