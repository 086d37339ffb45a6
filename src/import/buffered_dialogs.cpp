#include "import/buffered_dialogs.h"

namespace verrolift {

void BufferedDialogs::Replay(Dialogs& to) {
    for (const auto& item : shown_) {
        if (const auto* text = std::get_if<std::string>(&item))
            to.ShowMessage(*text);
        else
            to.ShowErrorReport(std::get<ErrorReport>(item));
    }
    shown_.clear();
}

}  // namespace verrolift
