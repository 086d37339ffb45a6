#pragma once

#include <cstdint>

namespace verrolift::import_steps {

// Statement numbers of the import command, in source order. Numbers left out
// belong to statements that cannot fail.
inline constexpr std::int32_t kNoFilesTest = 102;
inline constexpr std::int32_t kNoFilesMessage = 104;
inline constexpr std::int32_t kNoTableTest = 106;
inline constexpr std::int32_t kNoTableMessage = 108;
inline constexpr std::int32_t kNameTakenTest = 110;
inline constexpr std::int32_t kNameTakenMessage = 112;
inline constexpr std::int32_t kSnapshotFiles = 114;

// For each file.
inline constexpr std::int32_t kBusyPointer = 118;
inline constexpr std::int32_t kOpenConnection = 124;
inline constexpr std::int32_t kTakePath = 126;
inline constexpr std::int32_t kMakeWorkingCopy = 130;
inline constexpr std::int32_t kOpenFirstPass = 132;
inline constexpr std::int32_t kReadFirstPass = 134;
inline constexpr std::int32_t kRewriteWorkingCopy = 136;
// A record of the file that could not be read: malformed (quoted fields), or holding
// bytes that are not valid in the file's encoding.
inline constexpr std::int32_t kMalformedRecord = 138;

// Create mode.
inline constexpr std::int32_t kCreateModeTest = 140;
inline constexpr std::int32_t kResolveName = 142;
inline constexpr std::int32_t kNameListedTest = 144;
inline constexpr std::int32_t kEmptyPatternTest = 148;
inline constexpr std::int32_t kColumnSourceTest = 150;
inline constexpr std::int32_t kCreateDataCheck = 152;

// Second pass over the working copy, one set of numbers per mode.
struct RowSteps {
    std::int32_t open;
    std::int32_t read;
    std::int32_t tableName;
    std::int32_t build;
    std::int32_t send;
    std::int32_t close;
};

// The part of create mode after the column names are known, one set of
// numbers per column source.
struct NewTableSteps {
    std::int32_t create;
    RowSteps rows;
    std::int32_t listName;
};

// Header mode.
inline constexpr std::int32_t kHeaderModeTest = 154;
inline constexpr std::int32_t kHeaderColumns = 160;
inline constexpr std::int32_t kHeaderCreate = 204;
inline constexpr RowSteps kHeaderRows{206, 208, 210, 214, 236, 238};
inline constexpr std::int32_t kHeaderListName = 240;
inline constexpr NewTableSteps kHeaderTable{kHeaderCreate, kHeaderRows, kHeaderListName};

// Typed-names mode.
inline constexpr std::int32_t kTypedModeTest = 242;
inline constexpr std::int32_t kTypedPrompts = 246;
inline constexpr std::int32_t kTypedCreate = 266;
inline constexpr RowSteps kTypedRows{268, 270, 272, 276, 296, 298};
inline constexpr std::int32_t kTypedListName = 300;
inline constexpr NewTableSteps kTypedTable{kTypedCreate, kTypedRows, kTypedListName};

// Append mode.
inline constexpr std::int32_t kAppendModeTest = 302;
inline constexpr std::int32_t kAppendDataCheck = 304;
inline constexpr std::int32_t kTargetTable = 306;
inline constexpr std::int32_t kOpenRecordSet = 308;
inline constexpr std::int32_t kFirstDataLine = 310;
inline constexpr std::int32_t kColumnCheck = 314;
inline constexpr std::int32_t kColumnCountMessage = 316;
inline constexpr RowSteps kAppendRows{318, 320, 322, 326, 348, 350};

// End of each file, then of the run.
inline constexpr std::int32_t kCloseConnection = 356;
inline constexpr std::int32_t kDefaultPointer = 358;
inline constexpr std::int32_t kOutcomeTest = 362;
inline constexpr std::int32_t kDoneMessage = 364;
inline constexpr std::int32_t kClashMessage = 368;

}  // namespace verrolift::import_steps
