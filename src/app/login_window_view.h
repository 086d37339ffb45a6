#pragma once

#include <string>

#include "base/host.h"
#include "db/connection.h"

namespace verrolift {

// The three boxes of the login window.
enum class LoginBox { Sid, User, Password };

// What the login window's behaviour needs of a window of some toolkit.
class LoginWindowView {
public:
    virtual ~LoginWindowView() = default;

    virtual std::string Text(LoginBox box) const = 0;
    // Puts text into a box; the box's change then reaches LoginWindowLogic::BoxChanged.
    virtual void SetText(LoginBox box, const std::string& text) = 0;
    virtual WindowPointer& Pointer() = 0;

    // The load step's look: the skin file when it is there, caption, icon and application
    // title, the hand pointer from a cursor file (false: it could not be read).
    virtual void ApplySkin(const std::string& programFolder) = 0;
    virtual void SetTitles() = 0;
    virtual bool LoadPointerFile(const std::string& path) = 0;
};

}  // namespace verrolift
