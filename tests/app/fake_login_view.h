#pragma once

#include <functional>
#include <map>
#include <string>

#include "app/login_window_view.h"
#include "support/recording_dialogs.h"

namespace verrolift::test {

// A login window without a toolkit. Like a real box, a box whose text changes tells its
// handler.
class FakeLoginView : public LoginWindowView {
public:
    std::string Text(LoginBox box) const override { return texts.at(box); }
    void SetText(LoginBox box, const std::string& text) override {
        if (texts[box] == text) return;
        texts[box] = text;
        if (onChange) onChange(box, text);
    }
    WindowPointer& Pointer() override { return pointer; }
    void ApplySkin(const std::string&) override {}
    void SetTitles() override {}
    bool LoadPointerFile(const std::string&) override { return false; }

    std::map<LoginBox, std::string> texts{
        {LoginBox::Sid, ""}, {LoginBox::User, ""}, {LoginBox::Password, ""}};
    RecordingPointer pointer;
    std::function<void(LoginBox, const std::string&)> onChange;
};

}  // namespace verrolift::test
