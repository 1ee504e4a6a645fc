#include "store/StoreWriter.h"

#include "files/ProgramFolder.h"
#include "files/WholeFile.h"
#include "jvdata/SjisText.h"

#include <algorithm>
#include <cstdint>

namespace store {

namespace fs = std::filesystem;

namespace {

TStoreStatus Failure(std::string_view prefixUtf8, const fs::path& file,
                     const std::error_code& error) {
    TStoreStatus status;
    status.ok = false;
    status.file = file;
    status.error = error;
    status.message = Sjis::FromUtf8(prefixUtf8) + files::TextFromPath(file) + " (" +
                     files::SystemErrorText(error) + ")";
    return status;
}

// Memory a held file takes: its bytes as lines, the line objects, and the bytes it had.
std::size_t HeldSize(const std::vector<std::string>& lines, const std::string& original) {
    return JoinedSize(lines) + lines.size() * sizeof(std::string) + original.size();
}

} // namespace

TStoreStatus ReadFailure(const fs::path& file, const std::error_code& error) {
    return Failure("ファイルを読み込めません:", file, error);
}

TStoreStatus WriteFailure(const fs::path& file, const std::error_code& error) {
    return Failure("ファイルを保存できません:", file, error);
}

namespace {

// The lines of a file that is merged or slot-written; exists false when it is not there.
TStoreStatus LoadLines(const fs::path& path, std::vector<std::string>& lines, bool& exists) {
    files::FileReadResult read = files::ReadWholeFile(path, kStoreFileReadBound);
    if (read.status == files::FileReadStatus::Failed) {
        return ReadFailure(path, read.error);
    }
    exists = read.status == files::FileReadStatus::Read;
    lines = exists ? SplitLines(read.bytes) : std::vector<std::string>{};
    return {};
}

// Checks the action against each of the files its race-day file shares a day and racecourse
// name with (the slot rule only in its own file); lines(file, status) gives a file's lines,
// nullptr after a read failure.
template <class Lines>
TStoreStatus CheckRaceDay(const TStoreAction& action, Lines lines) {
    TStoreStatus status;
    for (const TStoreFile& sibling : RaceDaySiblings(action.file)) {
        const std::vector<std::string>* held = lines(sibling, status);
        if (held == nullptr) {
            return status;
        }
        const std::size_t slot = sibling == action.file ? action.slot : SIZE_MAX;
        status.clashKey = ClashingKey(sibling.kind, *held, action.line, slot);
        if (status.clashKey) {
            return status;
        }
    }
    return status;
}

} // namespace

void TStoreWriter::Written(const std::vector<TWrittenFile>& files) {
    for (const TWrittenFile& file : files) {
        if (writtenNames_.insert(file.file.Text()).second) {
            written_.push_back(file.file);
        }
    }
    if (follower_ == nullptr || files.empty()) {
        return;
    }
    const std::string note = follower_->FilesWritten(files);
    if (!note.empty() && followerNote_.find(note) == std::string::npos) {
        followerNote_ += (followerNote_.empty() ? "" : "\r\n") + note;
    }
}

TStoreStatus TRecordByRecordWriter::Check(const TStoreAction& action) {
    std::vector<std::string> lines;
    return CheckRaceDay(
        action,
        [&](const TStoreFile& file, TStoreStatus& status) -> const std::vector<std::string>* {
            bool exists = false;
            status = LoadLines(StorePath(root_, file), lines, exists);
            return status ? &lines : nullptr;
        });
}

TStoreStatus TRecordByRecordWriter::Store(const TStoreAction& action, std::size_t) {
    const fs::path path = StorePath(root_, action.file);
    std::vector<std::string> lines;
    bool exists = false;
    if (StoreUpdateOf(action.file.kind) != TStoreUpdate::Replace) {
        if (TStoreStatus status = LoadLines(path, lines, exists); !status) {
            return status;
        }
    }
    const std::string before = exists ? JoinLines(lines) : std::string();
    ApplyLine(action.file.kind, lines, exists, action.line, action.slot);
    const std::string after = JoinLines(lines);
    if (const std::error_code error = files::ReplaceWholeFile(path, after, true)) {
        return WriteFailure(path, error);
    }
    Written({{action.file, before, after}});
    return {};
}

TBatchedWriter::THeldFile* TBatchedWriter::Hold(const TStoreFile& file, TStoreStatus& status) {
    const std::string key = file.Text();
    auto found = files_.find(key);
    if (found != files_.end()) {
        return &found->second;
    }
    THeldFile held;
    held.file = file;
    held.path = StorePath(root_, file);
    held.kind = file.kind;
    files::FileReadResult read;
    if (!FolderMissing(file.folder)) {
        read = files::ReadWholeFile(held.path, kStoreFileReadBound);
    }
    const bool replaced = StoreUpdateOf(held.kind) == TStoreUpdate::Replace;
    if (read.status == files::FileReadStatus::Failed && !replaced) {
        status = ReadFailure(held.path, read.error);
        return nullptr;
    }
    // A file replaced whole is read only to see whether it changes; one that cannot be read
    // is simply written (and fails then if it is no file at all).
    held.existed = read.status == files::FileReadStatus::Read;
    held.present = held.existed;
    if (held.existed) {
        held.original = std::move(read.bytes);
        if (!replaced) {
            held.lines = SplitLines(held.original);
        }
    }
    held.bytes = HeldSize(held.lines, held.original);
    heldBytes_ += held.bytes;
    return &files_.emplace(key, std::move(held)).first->second;
}

bool TBatchedWriter::FolderMissing(const std::string& folder) {
    auto found = missingFolders_.find(folder);
    if (found == missingFolders_.end()) {
        std::error_code error;
        const fs::file_status status = fs::status(StoreFolderPath(root_, folder), error);
        found = missingFolders_.emplace(folder, status.type() == fs::file_type::not_found).first;
    }
    return found->second;
}

TStoreStatus TBatchedWriter::Check(const TStoreAction& action) {
    return CheckRaceDay(
        action,
        [&](const TStoreFile& file, TStoreStatus& status) -> const std::vector<std::string>* {
            const THeldFile* held = Hold(file, status);
            return held != nullptr ? &held->lines : nullptr;
        });
}

TStoreStatus TBatchedWriter::Store(const TStoreAction& action, std::size_t record) {
    TStoreStatus status;
    THeldFile* held = Hold(action.file, status);
    if (held == nullptr) {
        return status;
    }
    // A file touched before holds its lines already and exists from then on, as the
    // reference finds it on disk after the earlier record.
    ApplyLine(held->kind, held->lines, held->present, action.line, action.slot);
    held->present = true;
    held->records.push_back(record);
    heldBytes_ -= held->bytes;
    held->bytes = HeldSize(held->lines, held->original);
    heldBytes_ += held->bytes;

    if (heldBytes_ > memoryBound_) {
        ++boundFlushes_;
        return Flush();
    }
    return {};
}

TStoreStatus TBatchedWriter::Flush() {
    // In name order, so that the failure reported first is the same from run to run.
    std::vector<std::pair<const std::string*, THeldFile*>> order;
    order.reserve(files_.size());
    for (auto& [key, held] : files_) {
        order.emplace_back(&key, &held);
    }
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return *a.first < *b.first; });

    TStoreStatus first;
    auto lose = [&](const THeldFile& held, const std::error_code& error) {
        if (first.ok) {
            first = WriteFailure(held.path, error);
        }
        lost_.insert(held.records.begin(), held.records.end());
    };
    // Each changed file's bytes, its lines let go as they are joined, so memory holds the store
    // once; then all are staged together. The bytes before and after stay until the follower
    // has been told.
    std::vector<std::string> contents;
    std::vector<THeldFile*> requested;
    for (const auto& [key, held] : order) {
        if (!held->present) {
            continue; // loaded by a check, never stored into
        }
        std::string bytes = JoinLines(held->lines);
        std::vector<std::string>().swap(held->lines);
        if (held->existed && bytes == held->original) {
            ++filesUnchanged_;
            std::string().swap(held->original);
            continue;
        }
        contents.push_back(std::move(bytes));
        requested.push_back(held);
    }
    std::vector<files::TReplaceBatch::TRequest> requests;
    requests.reserve(contents.size());
    for (std::size_t i = 0; i < contents.size(); ++i) {
        requests.push_back({requested[i]->path, contents[i], true});
    }
    files::TReplaceBatch batch;
    const std::vector<std::error_code> errors = batch.StageAll(requests);
    requests.clear();
    std::vector<std::size_t> staged; // in staging order, to name failures
    for (std::size_t i = 0; i < errors.size(); ++i) {
        if (errors[i]) {
            lose(*requested[i], errors[i]);
        } else {
            staged.push_back(i);
        }
    }
    const std::vector<files::TReplaceBatch::TFailure> failures = batch.Commit();
    std::vector<bool> failed(staged.size(), false);
    for (const files::TReplaceBatch::TFailure& failure : failures) {
        lose(*requested[staged.at(failure.staged)], failure.error);
        failed.at(failure.staged) = true;
    }
    std::vector<TWrittenFile> written;
    for (std::size_t k = 0; k < staged.size(); ++k) {
        if (!failed[k]) {
            const std::size_t i = staged[k];
            written.push_back({requested[i]->file, requested[i]->original, contents[i]});
        }
    }
    Written(written);
    filesWritten_ += staged.size() - failures.size();
    files_.clear();
    heldBytes_ = 0;
    missingFolders_.clear(); // the flush made them
    return first;
}

std::unique_ptr<TStoreWriter> MakeStoreWriter(TStoreWriteMode mode, const fs::path& root,
                                              std::size_t memoryBound, IStoreFollower* follower) {
    std::unique_ptr<TStoreWriter> writer;
    if (mode == TStoreWriteMode::RecordByRecord) {
        writer = std::make_unique<TRecordByRecordWriter>(root);
    } else {
        writer = std::make_unique<TBatchedWriter>(root, memoryBound);
    }
    writer->Follow(follower);
    return writer;
}

} // namespace store
