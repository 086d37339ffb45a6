#include "import/file_importer.h"

#include "base/display_text.h"
#include "db/failure_kinds.h"
#include "import/import_messages.h"
#include "import/line_fields.h"
#include "import/sql_text.h"

namespace verrolift {

namespace steps = import_steps;

namespace {

std::int32_t StepOf(WorkingCopyError::Stage stage) {
    switch (stage) {
        case WorkingCopyError::Stage::Open:
            return steps::kOpenFirstPass;
        case WorkingCopyError::Stage::Read:
            return steps::kReadFirstPass;
        case WorkingCopyError::Stage::Write:
            break;
    }
    return steps::kRewriteWorkingCopy;
}

std::string Quoted(const std::string& path) {
    return "\"" + ForDisplay(path) + "\"";
}

}  // namespace

FileImporter::FileImporter(ImportContext& context, std::optional<WorkingCopy>& workingCopy)
    : context_(context),
      options_(context.options),
      handler_(tags::kMainImport, context.dialogs),
      workingCopy_(workingCopy) {}

FileOutcome FileImporter::Import(std::int32_t position, const std::string& entry) {
    position_ = position;
    outcome_ = FileOutcome{};
    lostInFirstPass_.clear();
    outcome_.path = entry;
    BusyPointer pointer(context_.pointer);
    handler_.Run(steps::kBusyPointer, [&] { pointer.Show(); });
    // A file without a connection is skipped: each of its statements would only fail.
    if (Connect()) {
        ImportOpenFile();
    } else {
        outcome_.skip = FileSkip::Other;
    }
    handler_.Run(steps::kCloseConnection, [&] {
        if (connection_) connection_->Disconnect();
    });
    handler_.Run(steps::kDefaultPointer, [&] { pointer.Restore(); });
    outcome_.reports = handler_.Failures();
    return outcome_;
}

bool FileImporter::Connect() {
    std::optional<OdbcError> refusal;
    const bool open = handler_.Run(
        steps::kOpenConnection,
        [&] {
            connection_.emplace();
            connection_->Open(context_.connection.ConnectionString(),
                              ConnectionSettings{5000, 5000, true});
        },
        refusal);
    loginRefused_ = refusal && IsLoginRefused(*refusal);
    return open;
}

void FileImporter::ImportOpenFile() {
    outcome_.skip = FileSkip::Other;  // until a mode takes the file
    handler_.Run(steps::kTakePath, [&] { path_ = outcome_.path; });
    if (!Prepare()) return;
    if (handler_.Test(steps::kCreateModeTest,
                      [&] { return options_.Mode() == ImportMode::CreateTable; })) {
        CreateMode();
        return;
    }
    if (handler_.Test(steps::kAppendModeTest,
                      [&] { return options_.Mode() == ImportMode::AppendToTable; })) {
        if (!handler_.Run(steps::kAppendDataCheck, [&] { RequireKeptLines(); })) return;
        ImportIntoTable();
    }
}

bool FileImporter::Prepare() {
    if (!handler_.Run(steps::kMakeWorkingCopy, [&] {
            if (!workingCopy_) workingCopy_.emplace(WorkingCopy::Claim());
            MakeWorkingCopy(path_, *workingCopy_);
        }))
        return false;
    handler_.Run(steps::kOpenFirstPass, [&] {
        try {
            prepared_ = PrepareLines(
                *workingCopy_, options_, context_.pump, [&](const MalformedRecord& record) {
                    ++outcome_.recordsNotSent;
                    lostInFirstPass_.push_back({record.line, record.line});
                    if (context_.stop) context_.stop->NotStored();
                    handler_.Report(steps::kMalformedRecord, MalformedRecordMessage(path_, record));
                });
        } catch (const WorkingCopyError& failure) {
            handler_.Report(StepOf(failure.GetStage()), failure.Description());
        }
    });
    // Without a complete first pass the working copy is no copy of this file.
    if (!prepared_) return false;
    if (prepared_->readAsLegacy)
        context_.dialogs.ShowNotice(ReadAsLegacyNotice(path_, prepared_->encoding.DisplayName()));
    return true;
}

// A file that leaves no line to import ends with one report and makes nothing.
void FileImporter::RequireKeptLines() const {
    if (prepared_->keptLineCount > 0) return;
    if (prepared_->lineCount == 0) throw Failure("The file " + Quoted(path_) + " is empty.");
    throw Failure("The file " + Quoted(path_) + " holds no line to import after its first line.");
}

void FileImporter::CreateMode() {
    std::string name;
    handler_.Run(steps::kResolveName,
                 [&] { name = ResolveTableName(options_.TableNamePattern(), position_); });
    if (handler_.Test(steps::kNameListedTest,
                      [&] { return ListContains(context_.tables, name); })) {
        outcome_.skip = FileSkip::NameListed;
        return;
    }
    if (handler_.Test(steps::kEmptyPatternTest,
                      [&] { return options_.TableNamePattern().empty(); }))
        return;
    if (handler_.Test(steps::kColumnSourceTest,
                      [&] { return options_.Columns() == ColumnSource::Unset; }))
        return;
    if (!handler_.Run(steps::kCreateDataCheck, [&] {
            RequireKeptLines();
            if (prepared_->firstRecordMalformed)
                throw Failure("The first record of the file " + Quoted(path_) +
                              " is malformed, so it gives no column and no table is made.");
            if (prepared_->firstLine.empty())
                throw Failure("The first line of the file " + Quoted(path_) +
                              " is empty, so it gives no column and no table is made.");
        }))
        return;
    ImportNewTable(name);
}

std::vector<std::string_view> FileImporter::FirstLineFields() const {
    std::vector<std::string_view> fields;
    if (options_.QuotedFields()) {
        fields.assign(prepared_->firstFields.begin(), prepared_->firstFields.end());
    } else {
        SplitFieldsInto(prepared_->firstLine, options_.Separator(), fields);
    }
    return fields;
}

}  // namespace verrolift
