#include "files/add_folder.h"

#include <string>
#include <vector>

#include "base/error_report.h"
#include "base/protected_handler.h"
#include "files/add_folder_steps.h"
#include "files/folder_files.h"

namespace verrolift {

namespace steps = add_folder_steps;

namespace {

constexpr const char* kExtensionPrompt =
    "Enter file extension to load:\r\r"
    "(* for all files, txt for all txt files, doc for all doc files, etc.)";
constexpr const char* kDefaultExtension = "txt";
constexpr const char* kFolderPickerTitle = "Please select folder:";

}  // namespace

void AddFolderCommand(AddFolderContext& context) {
    ProtectedHandler handler(tags::kMainAddFolder, context.dialogs);
    auto read = [&](std::string_view key, std::string_view defaultValue) {
        return context.settings.GetSetting(kSettingsApplication, kSettingsSection, key,
                                           defaultValue);
    };
    auto save = [&](std::string_view key, const std::string& value) {
        context.settings.SaveSetting(kSettingsApplication, kSettingsSection, key, value);
    };

    std::string extension;
    handler.Run(steps::kAskExtension, [&] {
        extension =
            context.dialogs.InputBox(kExtensionPrompt, read(keys::kExtension, kDefaultExtension));
    });
    if (extension.empty()) return;  // cleared or cancelled
    // Saved before the folder is asked, so it is kept even when that is cancelled.
    handler.Run(steps::kSaveExtension, [&] { save(keys::kExtension, extension); });

    std::string picked;
    handler.Run(steps::kPickFolder, [&] {
        picked = context.dialogs.PickFolder(kFolderPickerTitle, read(keys::kLastFolder, ""));
    });
    if (picked.empty()) return;
    handler.Run(steps::kSaveFolder, [&] { save(keys::kLastFolder, picked); });

    BusyPointer busy(context.pointer);
    handler.Run(steps::kBusyPointer, [&] { busy.Show(); });
    // Every matching file of the tree, gathered first and added in one go so
    // that the list is filled with a single repaint.
    const std::vector<std::string> found =
        FilesInFolderTree(picked, "*." + extension, context.pump, context.dialogs, handler);
    handler.Run(steps::kAddFiles, [&] { context.files.AddEntries(found); });
    handler.Run(steps::kDefaultPointer, [&] { busy.Restore(); });
}

}  // namespace verrolift
