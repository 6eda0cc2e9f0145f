// A document kept in memory for one file of the prefix. It is read once; every change is a
// read-modify-write under the prefix lock that first picks up what another process wrote since
// (the file's stamp changed), then writes the whole file durably. A file that cannot be read or
// parsed is reported once on standard error and never overwritten: read at start, it counts as
// absent; found so at a later write, the contents read before stay in memory, read-only.
#pragma once

#include "platform/emulated/durable_file.h"
#include "platform/emulated/parse_result.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace emulated {

enum class WriteStatus {
    kStored,      // the change is on disk
    kDeclined,    // the change function turned it down; nothing was written
    kUnreadable,  // the file cannot be parsed and is left as it is
    kFailed,      // the lock or the write failed; `error` holds the errno
};

struct WriteResult {
    WriteStatus status = WriteStatus::kStored;
    int error = 0;
};

// One line on standard error: "zarven-controls: <file>:<line>: <message>", or "<file>: <errno
// text>" when the file could not be read at all.
void ReportFileProblem(const std::filesystem::path& path, const ParseError* error, int errnoValue);

template <class Document>
class StoredDocument {
public:
    using Parser = Parsed<Document> (*)(std::string_view);
    using Formatter = std::string (*)(const Document&);

    // An empty path keeps the document in memory only; every change then fails.
    StoredDocument(std::filesystem::path path, std::filesystem::path lockFile, Parser parse,
                   Formatter format)
        : path_(std::move(path)), lockFile_(std::move(lockFile)), parse_(parse), format_(format) {}

    void Load() {
        if (!path_.empty()) {
            Adopt(ReadWholeFile(path_));
        }
    }

    // Holds `document` as the file's contents without writing it.
    void Assume(Document document) { document_ = std::move(document); }

    const Document& document() const { return document_; }
    const std::filesystem::path& path() const { return path_; }

    // `change(Document&)` returns false to decline.
    template <class Change>
    WriteResult Modify(Change&& change) {
        if (path_.empty()) {
            return {WriteStatus::kFailed, ENOENT};
        }
        FileLock lock(lockFile_);
        if (lock.error() != 0) {
            return {WriteStatus::kFailed, lock.error()};
        }
        if (StampOf(path_) != stamp_) {
            Adopt(ReadWholeFile(path_));
        }
        if (unreadable_) {
            return {WriteStatus::kUnreadable, 0};
        }
        Document next = document_;
        if (!change(next)) {
            return {WriteStatus::kDeclined, 0};
        }
        const std::string text = format_(next);
        if (text.size() > kMaxFileSize) {
            return {WriteStatus::kFailed, EFBIG};  // it could not be read back
        }
        if (const int error = WriteFileDurably(path_, text); error != 0) {
            return {WriteStatus::kFailed, error};
        }
        document_ = std::move(next);
        stamp_ = StampOf(path_);
        return {WriteStatus::kStored, 0};
    }

private:
    // Takes the file's contents. When they cannot be read or parsed, the document in memory
    // stays as it was (empty at the first load) and the file becomes read-only.
    void Adopt(FileContents contents) {
        unreadable_ = false;
        if (contents.state == FileContents::State::kAbsent) {
            // Stamped as absent, not as whatever is there now: a file another process created
            // since the read must be read before this one writes over it.
            stamp_ = FileStamp{};
            document_ = Document{};
            return;
        }
        stamp_ = contents.state == FileContents::State::kPresent ? contents.stamp : StampOf(path_);
        if (contents.state == FileContents::State::kPresent) {
            Parsed<Document> parsed = parse_(contents.bytes);
            if (parsed.ok()) {
                document_ = std::move(parsed).value();
                return;
            }
            Report(&parsed.error(), 0);
        } else {
            Report(nullptr, contents.error);
        }
        unreadable_ = true;
    }

    void Report(const ParseError* error, int errnoValue) {
        if (reported_ && reportedStamp_ == stamp_) {
            return;
        }
        ReportFileProblem(path_, error, errnoValue);
        reported_ = true;
        reportedStamp_ = stamp_;
    }

    std::filesystem::path path_;
    std::filesystem::path lockFile_;
    Parser parse_;
    Formatter format_;
    Document document_;
    FileStamp stamp_;
    bool unreadable_ = false;
    bool reported_ = false;
    FileStamp reportedStamp_;
};

}  // namespace emulated
