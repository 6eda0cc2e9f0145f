// A document kept in memory for one file of the prefix. It is read once; every change is a
// read-modify-write under the prefix lock that first picks up what another process wrote since
// (the file's stamp changed), then writes the whole file durably. A file that cannot be read or
// parsed, or is too large for its kind, is reported once on standard error and never
// overwritten: read at start, it counts as absent; found so at a later write, the contents read
// before stay in memory, read-only. A read that failed for a passing reason (out of descriptors
// or memory) is reported and tried again at the next change, which fails meanwhile.
#pragma once

#include "platform/emulated/files/durable_file.h"
#include "platform/emulated/files/file_problem.h"
#include "platform/emulated/files/parse_result.h"
#include "platform/emulated/files/text_lines.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace emulated {

enum class WriteStatus {
    kStored,      // the change is on disk
    kDeclined,    // the change function turned it down; nothing was written
    kUnreadable,  // the file cannot be parsed and is left as it is
    kFailed,      // the lock, a passing read or the write failed; `error` holds the errno
};

struct WriteResult {
    WriteStatus status = WriteStatus::kStored;
    int error = 0;
};

template <class Document>
class StoredDocument {
public:
    using Parser = Parsed<Document> (*)(std::string_view);
    using Formatter = std::string (*)(const Document&);

    // An empty path keeps the document in memory only; every change then fails.
    StoredDocument(std::filesystem::path path, std::filesystem::path lockFile,
                   const TextLimits& limits, Parser parse, Formatter format)
        : path_(std::move(path)),
          lockFile_(std::move(lockFile)),
          limits_(limits),
          parse_(parse),
          format_(format) {}

    void Load() {
        if (!path_.empty()) {
            Refresh();
        }
    }

    // Holds `document` as the file's contents without writing it.
    void Assume(Document document) { Replace(std::move(document)); }

    const Document& document() const { return document_; }
    // Changes whenever the document in memory is replaced, so readers can keep what they
    // derived from it until then.
    std::uint64_t generation() const { return generation_; }
    const std::filesystem::path& path() const { return path_; }

    // `change(Document&)` returns false to decline.
    template <class Change>
    WriteResult Modify(Change&& change) {
        if (path_.empty()) {
            return {WriteStatus::kFailed, ENOENT};
        }
        try {
            FileLock lock(lockFile_);
            if (lock.error() != 0) {
                return {WriteStatus::kFailed, lock.error()};
            }
            if (stale_ || StampOf(path_) != stamp_) {
                if (const int error = Refresh(); error != 0) {
                    return {WriteStatus::kFailed, error};
                }
            }
            if (unreadable_) {
                return {WriteStatus::kUnreadable, 0};
            }
            Document next = document_;
            if (!change(next)) {
                return {WriteStatus::kDeclined, 0};
            }
            const std::string text = format_(next);
            if (text.size() > limits_.maxBytes || CountLines(text) > limits_.maxLines) {
                return {WriteStatus::kFailed, EFBIG};  // it could not be read back
            }
            if (const int error = WriteFileDurably(path_, text); error != 0) {
                return {WriteStatus::kFailed, error};
            }
            Replace(std::move(next));
            stamp_ = StampOf(path_);
            return {WriteStatus::kStored, 0};
        } catch (const std::bad_alloc&) {
            return {WriteStatus::kFailed, ENOMEM};
        }
    }

    // Reads the file again when another process changed it since it was last read or written;
    // a cheap stat otherwise. For documents another process may change while this one runs.
    void RefreshIfChanged() {
        if (!path_.empty() && StampOf(path_) != stamp_) {
            Refresh();
        }
    }

    // The file as it reads from the disk now, without adopting it: for checking that a change
    // landed as intended. Nothing when it cannot be read or parsed.
    std::optional<Document> ReadBack() const {
        try {
            FileContents contents = ReadWholeFile(path_, limits_.maxBytes);
            if (contents.state != FileContents::State::kPresent) {
                return std::nullopt;
            }
            Parsed<Document> parsed = parse_(contents.bytes);
            return parsed.ok() ? std::optional<Document>(std::move(parsed).value()) : std::nullopt;
        } catch (const std::bad_alloc&) {
            return std::nullopt;
        }
    }

private:
    // Reads and adopts the file. Returns the errno of a passing failure, which leaves
    // everything as it was and has the next change read the file again; otherwise 0.
    int Refresh() {
        try {
            FileContents contents = ReadWholeFile(path_, limits_.maxBytes);
            if (contents.state == FileContents::State::kUnreadable &&
                IsPassingError(contents.error)) {
                return Postpone(contents.error);
            }
            Adopt(std::move(contents));
            return 0;
        } catch (const std::bad_alloc&) {
            return Postpone(ENOMEM);
        }
    }

    int Postpone(int error) {
        stale_ = true;
        ReportFileProblem(path_, nullptr, error);
        return error;
    }

    // Takes the file's contents. When they cannot be read or parsed, the document in memory
    // stays as it was (empty at the first load) and the file becomes read-only.
    void Adopt(FileContents contents) {
        stale_ = false;
        unreadable_ = false;
        if (contents.state == FileContents::State::kAbsent) {
            // Stamped as absent, not as whatever is there now: a file another process created
            // since the read must be read before this one writes over it.
            stamp_ = FileStamp{};
            Replace(Document{});
            return;
        }
        stamp_ = contents.state == FileContents::State::kPresent ? contents.stamp : StampOf(path_);
        if (contents.state == FileContents::State::kPresent) {
            Parsed<Document> parsed = parse_(contents.bytes);
            if (parsed.ok()) {
                Replace(std::move(parsed).value());
                return;
            }
            Report(&parsed.error(), 0);
        } else {
            Report(nullptr, contents.error);
        }
        unreadable_ = true;
    }

    void Replace(Document document) {
        document_ = std::move(document);
        ++generation_;
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
    TextLimits limits_;
    Parser parse_;
    Formatter format_;
    Document document_;
    std::uint64_t generation_ = 0;
    FileStamp stamp_;
    bool stale_ = false;  // a passing failure left the file unread
    bool unreadable_ = false;
    bool reported_ = false;
    FileStamp reportedStamp_;
};

}  // namespace emulated
