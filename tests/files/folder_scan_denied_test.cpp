// A folder that may not be read. Root reads every folder, so when the tests
// run as root the scan runs in a child process that has become "nobody".

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/host.h"
#include "files/folder_files.h"
#include "files/folder_scan.h"
#include "support/folder_tree.h"
#include "support/non_root.h"
#include "support/recording_dialogs.h"

namespace verrolift {
namespace {

using test::RunAsNonRoot;

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) out += "  " + item + "\n";
    return out;
}

// root/a/x, root/denied/inner, root/z/y; everything open to all but "denied",
// which only its owner may read (root owns it when the tests run as root).
class DeniedFolder : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* f : {"a/x", "denied/inner", "z/y"}) tree.Folder(f);
        for (const char* f : {"top.txt", "a/a.txt", "a/x/ax.txt", "denied/d.txt",
                              "denied/inner/di.txt", "z/z.txt", "z/y/zy.txt"})
            tree.File(f);
        // The tree must be reachable by the child.
        for (const std::string& p :
             {tree.Root(), tree.Path("a"), tree.Path("a/x"), tree.Path("z"), tree.Path("z/y")})
            ::chmod(p.c_str(), 0755);
        ::chmod(tree.Path("denied").c_str(), ::geteuid() == 0 ? 0700 : 0);
    }
    test::FolderTree tree;
};

TEST_F(DeniedFolder, IsRemovedWhileItsSiblingsAreScanned) {
    const std::vector<std::string> expected{tree.Entry(), tree.Entry("a"), tree.Entry("z"),
                                            tree.Entry("a/x"), tree.Entry("z/y")};
    const std::string problem = RunAsNonRoot([&]() -> std::string {
        if (::access(tree.Root().c_str(), R_OK | X_OK) != 0)
            return "temporary folder not reachable: " + tree.Root();
        test::RecordingDialogs dialogs;
        NoEventPump pump;
        std::vector<std::string> folders{tree.Entry()};
        GetSubDirectories2016(folders, true, pump, dialogs);
        std::string out;
        if (folders != expected)
            out += "scan gave\n" + Join(folders) + "expected\n" + Join(expected);
        if (!dialogs.reports.empty())
            out += "a report was shown: " + dialogs.reports[0].description;
        return out;
    });
    EXPECT_EQ(problem, "");
}

TEST_F(DeniedFolder, FilesOfTheDeniedFolderAreNotAdded) {
    const std::vector<std::string> expected =
        test::Under(tree, {"top.txt", "a/a.txt", "z/z.txt", "a/x/ax.txt", "z/y/zy.txt"});
    const std::string problem = RunAsNonRoot([&]() -> std::string {
        test::RecordingDialogs dialogs;
        NoEventPump pump;
        std::vector<std::string> failures;
        const auto files = FilesInFolderTree(tree.Root(), "*.txt", pump, dialogs,
                                             [&](std::int32_t step, const std::string& d) {
                                                 failures.push_back(std::to_string(step) + d);
                                             });
        std::string out;
        if (files != expected) out += "files\n" + Join(files) + "expected\n" + Join(expected);
        if (!failures.empty() || !dialogs.reports.empty()) out += "a failure was reported";
        return out;
    });
    EXPECT_EQ(problem, "");
}

TEST_F(DeniedFolder, DeniedStartFolderIsRemoved) {
    const std::string problem = RunAsNonRoot([&]() -> std::string {
        test::RecordingDialogs dialogs;
        NoEventPump pump;
        std::vector<std::string> folders{tree.Entry("denied"), tree.Entry("a")};
        GetSubDirectories2016(folders, true, pump, dialogs);
        const std::vector<std::string> expected{tree.Entry("a"), tree.Entry("a/x")};
        if (folders != expected) return "scan gave\n" + Join(folders);
        return {};
    });
    EXPECT_EQ(problem, "");
}

}  // namespace
}  // namespace verrolift
