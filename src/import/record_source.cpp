#include "import/record_source.h"

#include <algorithm>

#include "import/line_fields.h"
#include "import/line_reader.h"

namespace verrolift {

namespace {

// Lines cut at the separator of the moment: an edit of it applies from the next line on.
class LineRecords : public RecordSource {
public:
    LineRecords(int in, std::string what, const RecordFormat& format, EventPump& pump)
        : reader_(in, std::move(what), format.lineEnds), options_(format.options), pump_(pump) {}

    bool Next() override {
        if (reader_.AtEnd()) return false;
        pump_.Yield();
        SplitFieldsInto(reader_.Next(), options_.Separator(), fields_);
        ++line_;
        return true;
    }
    std::uint64_t StartLine() const override { return line_; }
    std::uint64_t EndLine() const override { return line_; }

private:
    LineReader reader_;
    const ImportOptionsSource& options_;
    EventPump& pump_;
    std::uint64_t line_ = 0;
};

// Whole records, fields and all, as the quoted reader gives them.
class QuotedRecords : public RecordSource {
public:
    QuotedRecords(int in, std::string what, const RecordFormat& format, EventPump& pump)
        : reader_(in, std::move(what), Settings(format)), pump_(pump) {}

    bool Next() override {
        pump_.Yield();
        if (!reader_.Next()) return false;
        fields_ = reader_.Fields();
        return true;
    }
    const std::vector<char>& Quoted() const override { return reader_.Quoted(); }
    std::optional<MalformedRecord> Malformed() const override {
        if (reader_.GetFault() == QuotedRecordReader::Fault::None) return std::nullopt;
        return MalformedRecord{reader_.Number(), reader_.StartLine(), reader_.GetFault()};
    }
    std::uint64_t StartLine() const override { return reader_.StartLine(); }
    // A record that ends with a line end has moved the next line on past it.
    std::uint64_t EndLine() const override {
        return std::max(reader_.StartLine(), reader_.NextLine() - (reader_.Terminated() ? 1 : 0));
    }

private:
    static QuotedRecordReader::Settings Settings(const RecordFormat& format) {
        QuotedRecordReader::Settings settings;
        settings.separator = format.options.Separator();
        settings.lineEnds = format.lineEnds;
        return settings;
    }

    QuotedRecordReader reader_;
    EventPump& pump_;
};

}  // namespace

std::unique_ptr<RecordSource> OpenRecordSource(int in, std::string what, const RecordFormat& format,
                                               EventPump& pump) {
    if (format.options.QuotedFields())
        return std::make_unique<QuotedRecords>(in, std::move(what), format, pump);
    return std::make_unique<LineRecords>(in, std::move(what), format, pump);
}

}  // namespace verrolift
