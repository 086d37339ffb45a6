#include "files/add_folder.h"

#include <optional>
#include <string>
#include <vector>

#include "base/error_report.h"
#include "base/protected_handler.h"
#include "files/folder_files.h"

namespace verrolift {

namespace {

constexpr const char* kExtensionPrompt =
    "Enter file extension to load:\r\r"
    "(* for all files, txt for all txt files, doc for all doc files, etc.)";
constexpr const char* kDefaultExtension = "txt";
constexpr const char* kFolderPickerTitle = "Please select folder:";

}  // namespace

void AddFolderCommand(AddFolderContext& context) {
    ProtectedHandler handler(tags::kForm2AddFolder, context.dialogs);
    auto read = [&](std::string_view key, std::string_view defaultValue) {
        return context.settings.GetSetting(kSettingsApplication, kSettingsSection, key,
                                           defaultValue);
    };
    auto save = [&](std::string_view key, const std::string& value) {
        context.settings.SaveSetting(kSettingsApplication, kSettingsSection, key, value);
    };

    std::string extension;
    handler.Run(100, [&] {
        extension =
            context.dialogs.InputBox(kExtensionPrompt, read(keys::kExtension, kDefaultExtension));
    });
    if (extension.empty()) return;  // 102: cleared or cancelled
    // Saved before the folder is asked, so it is kept even when that is cancelled.
    handler.Run(104, [&] { save(keys::kExtension, extension); });

    std::string picked;
    handler.Run(106, [&] {
        picked = context.dialogs.PickFolder(kFolderPickerTitle, read(keys::kLastFolder, ""));
    });
    if (picked.empty()) return;  // 108
    std::string lastFolder;
    handler.Run(333, [&] { lastFolder = picked; });
    handler.Run(334, [&] { save(keys::kLastFolder, lastFolder); });

    std::optional<BusyPointer> busy;
    handler.Run(114, [&] { busy.emplace(context.pointer); });
    // 116 to 136: every matching file of the tree, gathered first and added
    // in one go so that the list is filled with a single repaint.
    const std::vector<std::string> found =
        FilesInFolderTree(picked, "*." + extension, context.pump, context.dialogs,
                          [&](std::int32_t step, const std::string& description) {
                              handler.Report(step, description);
                          });
    handler.Run(134, [&] { context.files.AddEntries(found); });
    handler.Run(138, [&] { busy.reset(); });
}

}  // namespace verrolift
