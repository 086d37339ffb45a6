#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "base/windows_api.h"

namespace verrolift::win32 {

// A dialog box's template built in memory, for the boxes of the program's own that no
// resource file holds. Sizes are in dialog units; the font is the shell's dialog font.
class DialogTemplate {
public:
    // The predefined control classes a template names by number.
    enum class Control : WORD { Button = 0x0080, Edit = 0x0081, Static = 0x0082 };

    DialogTemplate(DWORD style, short width, short height, std::wstring_view caption);

    void Add(Control control, int id, DWORD style, short x, short y, short width, short height,
             std::wstring_view text = {});

    // For DialogBoxIndirectParamW; valid while the template lives unchanged.
    const DLGTEMPLATE* Get() const;

private:
    void Align();
    void Put(WORD word);
    void Put(DWORD value);
    void Put(std::wstring_view text);

    // A vector's storage is aligned for any scalar, so an item that starts at an even
    // WORD starts on a DWORD boundary as the template needs.
    std::vector<WORD> words_;
    std::size_t countAt_;
};

}  // namespace verrolift::win32
