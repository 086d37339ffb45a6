#include "import/bad_file.h"

#include <cerrno>
#include <memory>

#include "base/display_text.h"
#include "base/failure.h"
#include "import/file_handle.h"
#include "import/prepared_lines.h"
#include "import/working_folder.h"

namespace verrolift {

namespace {

// The file's name without its folder.
std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A bad file of a name not taken yet.
FileHandle CreateBadFile(const std::string& folder, const std::string& path, std::string& made) {
    const std::string stem = folder + (folder.ends_with('/') ? "" : "/") + NameOf(path);
    for (int n = 1; n < 10000; ++n) {
        made = stem + (n == 1 ? "" : "." + std::to_string(n)) + ".bad";
        FileHandle out = CreateNewFile(made);
        if (out.IsOpen() || errno != EEXIST) return out;
    }
    errno = EEXIST;
    return FileHandle();
}

// Copies the wanted lines of a file fed piece by piece, finding line ends in its own
// code units.
class LineCopier {
public:
    LineCopier(const RawLines& raw, const std::vector<RecordLines>& spans, std::string& out)
        : unit_(raw.encoding == EncodingKind::Utf16Le || raw.encoding == EncodingKind::Utf16Be ? 2
                                                                                               : 1),
          lowFirst_(raw.encoding != EncodingKind::Utf16Be),
          lf_(raw.lineEnds == LineEndMode::Lf),
          spans_(spans),
          out_(out) {}

    void Feed(const char* data, std::size_t size) {
        held_.append(data, size);
        std::size_t at = 0;
        for (; at + unit_ <= held_.size(); at += unit_) {
            const unsigned code = Unit(at);
            // A CR LF is one line end: the LF belongs to the line the CR ended.
            if (crEnded_) {
                crEnded_ = false;
                if (code == '\n') {
                    Put(at);
                    ++line_;
                    continue;
                }
                ++line_;
            }
            Put(at);
            if (code == '\n' && lf_) ++line_;
            if (code == '\r' && !lf_) crEnded_ = true;
        }
        held_.erase(0, at);
    }

    void Finish() {
        // An odd byte at the end of a UTF-16 file is part of its last line.
        if (Wanted()) out_.append(held_);
    }

private:
    unsigned Unit(std::size_t at) const {
        const auto a = static_cast<unsigned char>(held_[at]);
        if (unit_ == 1) return a;
        const auto b = static_cast<unsigned char>(held_[at + 1]);
        return lowFirst_ ? (a | (b << 8)) : ((a << 8) | b);
    }
    void Put(std::size_t at) {
        if (Wanted()) out_.append(held_, at, unit_);
    }
    bool Wanted() {
        while (next_ < spans_.size() && spans_[next_].last < line_) ++next_;
        return next_ < spans_.size() && spans_[next_].first <= line_;
    }

    std::size_t unit_;
    bool lowFirst_;
    bool lf_;
    const std::vector<RecordLines>& spans_;
    std::string& out_;
    std::string held_;  // a code unit cut by a piece's end
    std::uint64_t line_ = 1;
    std::size_t next_ = 0;
    bool crEnded_ = false;
};

}  // namespace

std::string WriteBadFile(const std::string& folder, const std::string& path, const RawLines& raw,
                         const std::vector<RecordLines>& spans) {
    bool notRegular = false;
    const std::string readWhat = "Cannot read \"" + ForDisplay(path) + "\" for its bad file";
    FileHandle in = OpenRegularFile(path, notRegular);
    if (!in.IsOpen()) throw Failure(DescribeErrno(readWhat));
    std::string made;
    FileHandle out = CreateBadFile(folder, path, made);
    if (!out.IsOpen())
        throw Failure(DescribeErrno("Cannot create a bad file in \"" + ForDisplay(folder) + "\""));
    const std::string writeWhat = "Cannot write the bad file \"" + ForDisplay(made) + "\"";
    std::unique_ptr<char[]> buffer(new char[kFirstPassChunkSize]);
    std::string text;
    auto write = [&] {
        WritePiece piece{text.data(), text.size()};
        while (piece.size > 0) {
            const long long n = WritePieces(out, &piece, 1);
            if (n < 0) throw Failure(DescribeErrno(writeWhat));
            piece.data += n;
            piece.size -= static_cast<std::size_t>(n);
        }
        text.clear();
    };
    std::size_t mark = raw.markLength;
    LineCopier copier(raw, spans, text);
    for (;;) {
        const std::size_t n = ReadSome(in.Get(), buffer.get(), kFirstPassChunkSize, readWhat);
        if (n == 0) break;
        // The mark goes first, as it was, so the bad file is read as the file was.
        const std::size_t skip = std::min(mark, n);
        text.append(buffer.get(), skip);
        mark -= skip;
        copier.Feed(buffer.get() + skip, n - skip);
        write();
    }
    copier.Finish();
    write();
    out.Close(writeWhat);
    return made;
}

}  // namespace verrolift
