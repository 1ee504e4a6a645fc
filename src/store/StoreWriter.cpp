#include "store/StoreWriter.h"

#include "files/ProgramFolder.h"
#include "files/WholeFile.h"
#include "jvdata/SjisText.h"

#include <algorithm>

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

TStoreStatus TRecordByRecordWriter::Store(const TStoreAction& action) {
    const fs::path path = StorePath(root_, action.file);
    std::vector<std::string> lines;
    bool exists = false;
    if (StoreUpdateOf(action.file.kind) != TStoreUpdate::Replace) {
        files::FileReadResult read = files::ReadWholeFile(path);
        if (read.status == files::FileReadStatus::Failed) {
            return ReadFailure(path, read.error);
        }
        exists = read.status == files::FileReadStatus::Read;
        if (exists) {
            lines = SplitLines(read.bytes);
        }
    }
    ApplyLine(action.file.kind, lines, exists, action.line, action.slot);
    if (const std::error_code error = files::ReplaceWholeFile(path, JoinLines(lines), true)) {
        return WriteFailure(path, error);
    }
    return {};
}

TStoreStatus TBatchedWriter::Store(const TStoreAction& action) {
    const std::string key = action.file.Text();
    auto found = files_.find(key);
    if (found == files_.end()) {
        THeldFile held;
        held.path = StorePath(root_, action.file);
        held.kind = action.file.kind;
        files::FileReadResult read = files::ReadWholeFile(held.path);
        const bool replaced = StoreUpdateOf(held.kind) == TStoreUpdate::Replace;
        if (read.status == files::FileReadStatus::Failed && !replaced) {
            return ReadFailure(held.path, read.error);
        }
        // A file replaced whole is read only to see whether it changes; one that cannot be
        // read is simply written.
        held.existed = read.status == files::FileReadStatus::Read;
        held.present = held.existed;
        if (held.existed) {
            held.original = std::move(read.bytes);
            if (!replaced) {
                held.lines = SplitLines(held.original);
            }
        }
        found = files_.emplace(key, std::move(held)).first;
    }

    THeldFile& held = found->second;
    // A file touched before holds its lines already and exists from then on, as the
    // reference finds it on disk after the earlier record.
    ApplyLine(held.kind, held.lines, held.present, action.line, action.slot);
    held.present = true;
    heldBytes_ -= held.bytes;
    held.bytes = HeldSize(held.lines, held.original);
    heldBytes_ += held.bytes;

    if (heldBytes_ > memoryBound_) {
        ++boundFlushes_;
        return Flush();
    }
    return {};
}

TStoreStatus TBatchedWriter::Flush() {
    // Written in name order, so a run that fails part way leaves a predictable state.
    std::vector<std::pair<const std::string*, THeldFile*>> order;
    order.reserve(files_.size());
    for (auto& [key, held] : files_) {
        order.emplace_back(&key, &held);
    }
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return *a.first < *b.first; });

    TStoreStatus first;
    for (const auto& [key, held] : order) {
        const std::string bytes = JoinLines(held->lines);
        if (held->existed && bytes == held->original) {
            ++filesUnchanged_;
            continue;
        }
        if (const std::error_code error = files::ReplaceWholeFile(held->path, bytes, true)) {
            if (first.ok) {
                first = WriteFailure(held->path, error);
            }
            continue;
        }
        ++filesWritten_;
    }
    files_.clear();
    heldBytes_ = 0;
    return first;
}

std::unique_ptr<TStoreWriter> MakeStoreWriter(TStoreWriteMode mode, const fs::path& root,
                                              std::size_t memoryBound) {
    if (mode == TStoreWriteMode::RecordByRecord) {
        return std::make_unique<TRecordByRecordWriter>(root);
    }
    return std::make_unique<TBatchedWriter>(root, memoryBound);
}

} // namespace store
