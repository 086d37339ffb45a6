#include "import/buffered_dialogs.h"

namespace verrolift {

void BufferedDialogs::Replay(Dialogs& to) {
    for (const auto& item : shown_) {
        if (const auto* text = std::get_if<std::string>(&item))
            to.ShowMessage(*text);
        else if (const auto* report = std::get_if<ErrorReport>(&item))
            to.ShowErrorReport(*report);
        else if (const auto* notice = std::get_if<Notice>(&item))
            to.ShowNotice(notice->text);
        else
            to.NoColumnName(std::get<NoName>(item).path, std::get<NoName>(item).number);
    }
    shown_.clear();
}

}  // namespace verrolift
