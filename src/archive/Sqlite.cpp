#include "archive/Sqlite.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>
#include <sqlite3.h>
#include <string>
#include <utility>

namespace archive::sql {

namespace {

// The file name as SQLite takes it: UTF-8 on Windows, the system's own bytes elsewhere.
std::string SqliteName(const std::filesystem::path& file) {
#if defined(_WIN32)
    const std::u8string name = file.u8string();
    return std::string(name.begin(), name.end());
#else
    return file.native();
#endif
}

// The virtual table "tomberly_feed" through which InsertFed hands an IRowFeed's rows to an
// INSERT: eponymous (no CREATE needed), its columns c0 ... c15 and the hidden column "feed"
// that takes the feed as a pointer bound to the statement.
constexpr const char* kFeedModule = "tomberly_feed";
constexpr const char* kFeedPointer = "tomberly-row-feed";
constexpr int kFeedArgument = TFeedRow::kMaxColumns; // the hidden column's number

// The feed and what it threw, as bound to the statement.
struct TFeedCall {
    IRowFeed* feed = nullptr;
    std::exception_ptr failure;
};

struct TFeedCursor {
    sqlite3_vtab_cursor base{}; // first: SQLite sees the cursor as this
    TFeedCall* call = nullptr;
    TFeedRow row;
    sqlite3_int64 rowid = 0;
    bool eof = true;
};

int FeedConnect(sqlite3* db, void*, int, const char* const*, sqlite3_vtab** table, char**) {
    std::string schema = "CREATE TABLE x(";
    for (int c = 0; c < TFeedRow::kMaxColumns; ++c) {
        schema += "c" + std::to_string(c) + ", ";
    }
    schema += "feed HIDDEN)";
    const int code = sqlite3_declare_vtab(db, schema.c_str());
    if (code != SQLITE_OK) {
        return code;
    }
    *table = static_cast<sqlite3_vtab*>(sqlite3_malloc(sizeof(sqlite3_vtab)));
    if (*table == nullptr) {
        return SQLITE_NOMEM;
    }
    **table = sqlite3_vtab{};
    return SQLITE_OK;
}

int FeedDisconnect(sqlite3_vtab* table) {
    sqlite3_free(table);
    return SQLITE_OK;
}

// Only a scan given its feed ("FROM tomberly_feed(?1)") can be planned.
int FeedBestIndex(sqlite3_vtab*, sqlite3_index_info* info) {
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto& constraint = info->aConstraint[i];
        if (constraint.iColumn == kFeedArgument && constraint.usable &&
            constraint.op == SQLITE_INDEX_CONSTRAINT_EQ) {
            info->aConstraintUsage[i].argvIndex = 1;
            info->aConstraintUsage[i].omit = 1;
            info->estimatedCost = 1.0;
            return SQLITE_OK;
        }
    }
    return SQLITE_CONSTRAINT;
}

int FeedOpen(sqlite3_vtab*, sqlite3_vtab_cursor** cursor) {
    auto* feed = new (std::nothrow) TFeedCursor();
    if (feed == nullptr) {
        return SQLITE_NOMEM;
    }
    *cursor = &feed->base;
    return SQLITE_OK;
}

int FeedClose(sqlite3_vtab_cursor* cursor) {
    delete reinterpret_cast<TFeedCursor*>(cursor);
    return SQLITE_OK;
}

// The feed's next row into the cursor; what the feed throws is kept for InsertFed.
int FeedAdvance(TFeedCursor& cursor) {
    cursor.row.Clear();
    try {
        cursor.eof = cursor.call == nullptr || !cursor.call->feed->Next(cursor.row);
    } catch (...) {
        cursor.call->failure = std::current_exception();
        cursor.eof = true;
        return SQLITE_ERROR;
    }
    ++cursor.rowid;
    return SQLITE_OK;
}

int FeedFilter(sqlite3_vtab_cursor* base, int, const char*, int argc, sqlite3_value** argv) {
    auto& cursor = *reinterpret_cast<TFeedCursor*>(base);
    cursor.call =
        argc > 0 ? static_cast<TFeedCall*>(sqlite3_value_pointer(argv[0], kFeedPointer)) : nullptr;
    cursor.rowid = 0;
    return FeedAdvance(cursor);
}

int FeedNext(sqlite3_vtab_cursor* base) {
    return FeedAdvance(*reinterpret_cast<TFeedCursor*>(base));
}

int FeedEof(sqlite3_vtab_cursor* base) {
    return reinterpret_cast<TFeedCursor*>(base)->eof ? 1 : 0;
}

int FeedColumn(sqlite3_vtab_cursor* base, sqlite3_context* context, int column) {
    const auto& cursor = *reinterpret_cast<TFeedCursor*>(base);
    if (column >= cursor.row.Size()) {
        sqlite3_result_null(context);
        return SQLITE_OK;
    }
    // The row's bytes stay until the next row is asked for: given without a copy.
    const TFeedRow::TValue& value = cursor.row.At(column);
    const int size = static_cast<int>(value.bytes.size());
    switch (value.kind) {
    case TFeedRow::TKind::Int:
        sqlite3_result_int64(context, value.number);
        break;
    case TFeedRow::TKind::Text:
        sqlite3_result_text(context, value.bytes.data(), size, SQLITE_STATIC);
        break;
    case TFeedRow::TKind::Bytes:
        sqlite3_result_blob(context, value.bytes.data(), size, SQLITE_STATIC);
        break;
    }
    return SQLITE_OK;
}

int FeedRowid(sqlite3_vtab_cursor* base, sqlite3_int64* rowid) {
    *rowid = reinterpret_cast<TFeedCursor*>(base)->rowid;
    return SQLITE_OK;
}

const sqlite3_module& FeedModule() {
    static const sqlite3_module module = [] {
        sqlite3_module m{};
        m.xConnect = FeedConnect; // no xCreate: eponymous only
        m.xBestIndex = FeedBestIndex;
        m.xDisconnect = FeedDisconnect;
        m.xOpen = FeedOpen;
        m.xClose = FeedClose;
        m.xFilter = FeedFilter;
        m.xNext = FeedNext;
        m.xEof = FeedEof;
        m.xColumn = FeedColumn;
        m.xRowid = FeedRowid;
        return m;
    }();
    return module;
}

// The VFS "tomberly-gather" of a database file made in one go: SQLite writes it a page at a
// time, and the tens of thousands of pages of a build would each be a system call, so the
// writes that follow one another are gathered into writes of up to 64 KiB (the most the
// system's VFS writes in one call on every system). Gathered bytes
// go out before anything reads that part of the file, asks its size, cuts it, syncs it, gives
// up its lock or closes it. Only the database file itself is gathered (a journal or log is
// opened as the system's VFS opens it), and it is never memory-mapped, so that every read
// sees what was written. A write the disk refuses fails the call that sends it out.
constexpr const char* kGatherVfs = "tomberly-gather";
constexpr int kGatherBytes = 1 << 16;
// The file control of TDatabase::WriteOut.
constexpr int kGatherWriteOut = 0x544B0001;

struct TGatherFile {
    sqlite3_file base{};          // first: SQLite sees the file as this
    sqlite3_file* real = nullptr; // the system VFS's file, in the room after this one
    char* buffer = nullptr;
    sqlite3_int64 start = 0; // the file offset of buffer[0]
    int used = 0;
};

sqlite3_vfs* SystemVfs(sqlite3_vfs* vfs) {
    return static_cast<sqlite3_vfs*>(vfs->pAppData);
}

TGatherFile* Gathered(sqlite3_file* file) {
    return reinterpret_cast<TGatherFile*>(file);
}

// Writes out the gathered bytes; they stay gathered when the disk refuses them, so that a
// later read still sees them and a later write-out fails again.
int WriteOut(TGatherFile& file) {
    if (file.used == 0) {
        return SQLITE_OK;
    }
    const int code = file.real->pMethods->xWrite(file.real, file.buffer, file.used, file.start);
    if (code == SQLITE_OK) {
        file.used = 0;
    }
    return code;
}

int GatherClose(sqlite3_file* handle) {
    TGatherFile& file = *Gathered(handle);
    const int written = WriteOut(file);
    const int closed = file.real->pMethods->xClose(file.real);
    sqlite3_free(file.buffer);
    file.buffer = nullptr;
    return written != SQLITE_OK ? written : closed;
}

int GatherRead(sqlite3_file* handle, void* data, int amount, sqlite3_int64 offset) {
    TGatherFile& file = *Gathered(handle);
    if (file.used > 0 && offset < file.start + file.used && offset + amount > file.start) {
        if (const int code = WriteOut(file); code != SQLITE_OK) {
            return code;
        }
    }
    return file.real->pMethods->xRead(file.real, data, amount, offset);
}

int GatherWrite(sqlite3_file* handle, const void* data, int amount, sqlite3_int64 offset) {
    TGatherFile& file = *Gathered(handle);
    const sqlite3_int64 end = file.start + file.used;
    if (file.used > 0 && offset >= file.start && offset <= end &&
        offset + amount <= file.start + kGatherBytes) {
        // Within or right after what is gathered (a page written again, or the next one).
        const auto at = static_cast<std::size_t>(offset - file.start);
        std::memcpy(file.buffer + at, data, static_cast<std::size_t>(amount));
        file.used = std::max(file.used, static_cast<int>(at) + amount);
        return SQLITE_OK;
    }
    if (const int code = WriteOut(file); code != SQLITE_OK) {
        return code;
    }
    if (amount > kGatherBytes) {
        return file.real->pMethods->xWrite(file.real, data, amount, offset);
    }
    std::memcpy(file.buffer, data, static_cast<std::size_t>(amount));
    file.start = offset;
    file.used = amount;
    return SQLITE_OK;
}

// A call after which the file must hold every byte written (a cut, a sync, its size asked, its
// lock given up): the gathered ones go out first.
template <auto Method, typename... Args>
int AfterWriteOut(sqlite3_file* handle, Args... args) {
    TGatherFile& file = *Gathered(handle);
    const int code = WriteOut(file);
    return code != SQLITE_OK ? code : (file.real->pMethods->*Method)(file.real, args...);
}

// A call the system's file answers as it is (its locks, its sectors, a log's shared memory).
template <auto Method, typename... Args>
auto PassedOn(sqlite3_file* handle, Args... args) {
    sqlite3_file* real = Gathered(handle)->real;
    return (real->pMethods->*Method)(real, args...);
}

// A file control (a size hint, a pragma, the steps of a commit) finds the file whole.
int GatherFileControl(sqlite3_file* handle, int op, void* argument) {
    TGatherFile& file = *Gathered(handle);
    const int code = WriteOut(file);
    if (op == kGatherWriteOut || code != SQLITE_OK) {
        return code;
    }
    return file.real->pMethods->xFileControl(file.real, op, argument);
}

// Without atomic batches of writes, which the system's file would take from SQLite unaware
// of the gathered ones.
int GatherDeviceCharacteristics(sqlite3_file* handle) {
    return PassedOn<&sqlite3_io_methods::xDeviceCharacteristics>(handle) &
           ~SQLITE_IOCAP_BATCH_ATOMIC;
}

// No page is read through a memory map, which would not see gathered bytes.
int GatherFetch(sqlite3_file*, sqlite3_int64, int, void** page) {
    *page = nullptr;
    return SQLITE_OK;
}

int GatherUnfetch(sqlite3_file*, sqlite3_int64, void*) {
    return SQLITE_OK;
}

const sqlite3_io_methods& GatherMethods() {
    static const sqlite3_io_methods methods = [] {
        sqlite3_io_methods m{};
        m.iVersion = 3;
        m.xClose = GatherClose;
        m.xRead = GatherRead;
        m.xWrite = GatherWrite;
        m.xTruncate = AfterWriteOut<&sqlite3_io_methods::xTruncate, sqlite3_int64>;
        m.xSync = AfterWriteOut<&sqlite3_io_methods::xSync, int>;
        m.xFileSize = AfterWriteOut<&sqlite3_io_methods::xFileSize, sqlite3_int64*>;
        m.xLock = PassedOn<&sqlite3_io_methods::xLock, int>;
        m.xUnlock = AfterWriteOut<&sqlite3_io_methods::xUnlock, int>;
        m.xCheckReservedLock = PassedOn<&sqlite3_io_methods::xCheckReservedLock, int*>;
        m.xFileControl = GatherFileControl;
        m.xSectorSize = PassedOn<&sqlite3_io_methods::xSectorSize>;
        m.xDeviceCharacteristics = GatherDeviceCharacteristics;
        m.xShmMap = PassedOn<&sqlite3_io_methods::xShmMap, int, int, int, void volatile**>;
        m.xShmLock = PassedOn<&sqlite3_io_methods::xShmLock, int, int, int>;
        m.xShmBarrier = PassedOn<&sqlite3_io_methods::xShmBarrier>;
        m.xShmUnmap = PassedOn<&sqlite3_io_methods::xShmUnmap, int>;
        m.xFetch = GatherFetch;
        m.xUnfetch = GatherUnfetch;
        return m;
    }();
    return methods;
}

int GatherOpen(sqlite3_vfs* vfs, const char* name, sqlite3_file* handle, int flags, int* outFlags) {
    sqlite3_vfs* system = SystemVfs(vfs);
    if ((flags & SQLITE_OPEN_MAIN_DB) == 0) {
        // A journal, log or temporary file: the system's own, in the room SQLite gave.
        return system->xOpen(system, name, handle, flags, outFlags);
    }
    TGatherFile& file = *new (handle) TGatherFile;
    file.real = reinterpret_cast<sqlite3_file*>(&file + 1);
    file.real->pMethods = nullptr;
    int code = system->xOpen(system, name, file.real, flags, outFlags);
    if (code == SQLITE_OK) {
        file.buffer = static_cast<char*>(sqlite3_malloc(kGatherBytes));
        if (file.buffer == nullptr) {
            file.real->pMethods->xClose(file.real);
            code = SQLITE_NOMEM;
        }
    } else if (file.real->pMethods != nullptr) {
        file.real->pMethods->xClose(file.real);
    }
    file.base.pMethods = code == SQLITE_OK ? &GatherMethods() : nullptr;
    return code;
}

// The rest of the VFS is the system's.
int GatherDelete(sqlite3_vfs* vfs, const char* name, int syncDir) {
    return SystemVfs(vfs)->xDelete(SystemVfs(vfs), name, syncDir);
}
int GatherAccess(sqlite3_vfs* vfs, const char* name, int flags, int* result) {
    return SystemVfs(vfs)->xAccess(SystemVfs(vfs), name, flags, result);
}
int GatherFullPathname(sqlite3_vfs* vfs, const char* name, int size, char* out) {
    return SystemVfs(vfs)->xFullPathname(SystemVfs(vfs), name, size, out);
}
void* GatherDlOpen(sqlite3_vfs* vfs, const char* name) {
    return SystemVfs(vfs)->xDlOpen(SystemVfs(vfs), name);
}
void GatherDlError(sqlite3_vfs* vfs, int size, char* message) {
    SystemVfs(vfs)->xDlError(SystemVfs(vfs), size, message);
}
void (*GatherDlSym(sqlite3_vfs* vfs, void* library, const char* symbol))(void) {
    return SystemVfs(vfs)->xDlSym(SystemVfs(vfs), library, symbol);
}
void GatherDlClose(sqlite3_vfs* vfs, void* library) {
    SystemVfs(vfs)->xDlClose(SystemVfs(vfs), library);
}
int GatherRandomness(sqlite3_vfs* vfs, int size, char* out) {
    return SystemVfs(vfs)->xRandomness(SystemVfs(vfs), size, out);
}
int GatherSleep(sqlite3_vfs* vfs, int microseconds) {
    return SystemVfs(vfs)->xSleep(SystemVfs(vfs), microseconds);
}
int GatherCurrentTime(sqlite3_vfs* vfs, double* now) {
    return SystemVfs(vfs)->xCurrentTime(SystemVfs(vfs), now);
}
int GatherGetLastError(sqlite3_vfs* vfs, int size, char* message) {
    return SystemVfs(vfs)->xGetLastError(SystemVfs(vfs), size, message);
}
int GatherCurrentTimeInt64(sqlite3_vfs* vfs, sqlite3_int64* now) {
    return SystemVfs(vfs)->xCurrentTimeInt64(SystemVfs(vfs), now);
}

// The gathering VFS, registered (not as the default) on first use; nothing when SQLite has no
// VFS of the system.
const char* GatherVfsName() {
    static const bool registered = [] {
        sqlite3_vfs* system = sqlite3_vfs_find(nullptr);
        if (system == nullptr || system->iVersion < 2 || system->xCurrentTimeInt64 == nullptr) {
            return false;
        }
        static sqlite3_vfs vfs{};
        vfs.iVersion = 2;
        vfs.szOsFile = static_cast<int>(sizeof(TGatherFile)) + system->szOsFile;
        vfs.mxPathname = system->mxPathname;
        vfs.zName = kGatherVfs;
        vfs.pAppData = system;
        vfs.xOpen = GatherOpen;
        vfs.xDelete = GatherDelete;
        vfs.xAccess = GatherAccess;
        vfs.xFullPathname = GatherFullPathname;
        vfs.xDlOpen = GatherDlOpen;
        vfs.xDlError = GatherDlError;
        vfs.xDlSym = GatherDlSym;
        vfs.xDlClose = GatherDlClose;
        vfs.xRandomness = GatherRandomness;
        vfs.xSleep = GatherSleep;
        vfs.xCurrentTime = GatherCurrentTime;
        vfs.xGetLastError = GatherGetLastError;
        vfs.xCurrentTimeInt64 = GatherCurrentTimeInt64;
        return sqlite3_vfs_register(&vfs, 0) == SQLITE_OK;
    }();
    return registered ? kGatherVfs : nullptr;
}

} // namespace

bool TSqlError::Damaged() const noexcept {
    const int primary = code_ & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_FORMAT ||
           primary == SQLITE_SCHEMA || primary == SQLITE_ERROR || primary == SQLITE_MISMATCH;
}

bool TSqlError::Busy() const noexcept {
    const int primary = code_ & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_READONLY ||
           primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR || primary == SQLITE_FULL ||
           primary == SQLITE_PERM;
}

TDatabase::TDatabase(const std::filesystem::path& file, TOpenMode mode) {
    int flags = SQLITE_OPEN_NOMUTEX;
    std::string name = SqliteName(file);
    switch (mode) {
    case TOpenMode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case TOpenMode::Create:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    case TOpenMode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case TOpenMode::Memory:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_MEMORY;
        name = ":memory:";
        break;
    case TOpenMode::Build:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    }
    const int code = sqlite3_open_v2(name.c_str(), &db_, flags,
                                     mode == TOpenMode::Build ? GatherVfsName() : nullptr);
    if (code != SQLITE_OK) {
        const std::string text = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
        sqlite3_close(db_);
        db_ = nullptr;
        throw TSqlError("open: " + text, code);
    }
    sqlite3_extended_result_codes(db_, 1);
    const int registered =
        sqlite3_create_module_v2(db_, kFeedModule, &FeedModule(), nullptr, nullptr);
    if (registered != SQLITE_OK) {
        const std::string text = sqlite3_errmsg(db_);
        sqlite3_close(db_);
        db_ = nullptr;
        throw TSqlError("open: " + text, registered);
    }
}

TDatabase::~TDatabase() {
    sqlite3_close(db_);
}

TDatabase::TDatabase(TDatabase&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}

TDatabase& TDatabase::operator=(TDatabase&& other) noexcept {
    if (this != &other) {
        sqlite3_close(db_);
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

void TDatabase::Check(int code, std::string_view doing) const {
    if (code != SQLITE_OK && code != SQLITE_ROW && code != SQLITE_DONE) {
        throw TSqlError(std::string(doing) + ": " + ErrorText(), code);
    }
}

std::string TDatabase::ErrorText() const {
    return db_ != nullptr ? sqlite3_errmsg(db_) : "no database";
}

void TDatabase::WriteOut() {
    const int code = sqlite3_file_control(db_, "main", kGatherWriteOut, nullptr);
    if (code != SQLITE_NOTFOUND) { // SQLITE_NOTFOUND: a file of another VFS, nothing gathered
        Check(code, "write");
    }
}

void TDatabase::Exec(std::string_view sql) {
    const std::string text(sql);
    Check(sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr), text);
}

std::int64_t TDatabase::QueryInt(std::string_view sql) {
    TStatement statement(*this, sql);
    return statement.Step() ? statement.Int(0) : 0;
}

std::string TDatabase::QueryText(std::string_view sql) {
    TStatement statement(*this, sql);
    return statement.Step() ? statement.Text(0) : std::string();
}

void TDatabase::BusyTimeout(int milliseconds) {
    sqlite3_busy_timeout(db_, milliseconds);
}

TStatement::TStatement(TDatabase& db, std::string_view sql) : db_(db) {
    db_.Check(
        sqlite3_prepare_v2(db_.Handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr),
        sql);
}

TStatement::~TStatement() {
    sqlite3_finalize(stmt_);
}

TStatement& TStatement::Bind(int index, std::int64_t value) {
    db_.Check(sqlite3_bind_int64(stmt_, index, value), "bind");
    return *this;
}

TStatement& TStatement::Bind(int index, std::string_view text) {
    db_.Check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                                SQLITE_TRANSIENT),
              "bind");
    return *this;
}

TStatement& TStatement::BindBytes(int index, std::string_view bytes) {
    db_.Check(sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()),
                                SQLITE_TRANSIENT),
              "bind");
    return *this;
}

bool TStatement::Step() {
    const int code = sqlite3_step(stmt_);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code == SQLITE_DONE) {
        return false;
    }
    const std::string text = sqlite3_sql(stmt_) != nullptr ? sqlite3_sql(stmt_) : "step";
    sqlite3_reset(stmt_);
    db_.Check(code, text);
    return false;
}

void TStatement::Run() {
    while (Step()) {
    }
    Reset();
}

void TStatement::Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::int64_t TStatement::Int(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::string TStatement::Text(int column) const {
    const void* bytes = sqlite3_column_blob(stmt_, column);
    const int size = sqlite3_column_bytes(stmt_, column);
    if (bytes == nullptr || size <= 0) {
        return {};
    }
    return std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

bool TStatement::IsNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

int TStatement::Columns() const {
    return sqlite3_column_count(stmt_);
}

TBatchInsert::TBatchInsert(TDatabase& db, std::string head, int columns, int rowsPerStatement,
                           std::string tail)
    : db_(db), head_(std::move(head)), tail_(std::move(tail)), columns_(columns),
      rowsPerStatement_(std::max(1, rowsPerStatement)) {
    values_.reserve(static_cast<std::size_t>(columns_ * rowsPerStatement_));
}

TBatchInsert::~TBatchInsert() {
    sqlite3_finalize(full_);
}

TBatchInsert& TBatchInsert::Add(std::int64_t value) {
    values_.push_back({TKind::Int, value, 0});
    return *this;
}

TBatchInsert& TBatchInsert::Add(std::string_view text) {
    values_.push_back({TKind::Text, static_cast<std::int64_t>(text_.size()), text.size()});
    text_ += text;
    return *this;
}

TBatchInsert& TBatchInsert::AddBytes(std::string_view bytes) {
    values_.push_back({TKind::Bytes, static_cast<std::int64_t>(text_.size()), bytes.size()});
    text_ += bytes;
    return *this;
}

void TBatchInsert::EndRow() {
    if (values_.size() == static_cast<std::size_t>(columns_ * rowsPerStatement_)) {
        if (full_ == nullptr) {
            full_ = Prepare(rowsPerStatement_);
        }
        Run(full_, static_cast<std::size_t>(rowsPerStatement_));
    }
}

void TBatchInsert::Finish() {
    const std::size_t rows = values_.size() / static_cast<std::size_t>(columns_);
    if (rows == 0) {
        return;
    }
    sqlite3_stmt* rest = Prepare(static_cast<int>(rows));
    try {
        Run(rest, rows);
    } catch (...) {
        sqlite3_finalize(rest);
        throw;
    }
    sqlite3_finalize(rest);
}

sqlite3_stmt* TBatchInsert::Prepare(int rows) {
    std::string sql = head_ + " VALUES";
    for (int r = 0; r < rows; ++r) {
        sql += r == 0 ? "(" : ",(";
        for (int c = 0; c < columns_; ++c) {
            sql += c == 0 ? "?" : ",?";
        }
        sql += ")";
    }
    sql += tail_;
    sqlite3_stmt* statement = nullptr;
    db_.Check(sqlite3_prepare_v2(db_.Handle(), sql.data(), static_cast<int>(sql.size()), &statement,
                                 nullptr),
              head_);
    return statement;
}

void TBatchInsert::Run(sqlite3_stmt* statement, std::size_t rows) {
    // The bytes stay in text_ until the step is done: bound without a copy.
    for (std::size_t i = 0; i < rows * static_cast<std::size_t>(columns_); ++i) {
        const TValue& value = values_[i];
        const int index = static_cast<int>(i) + 1;
        const char* bytes = text_.data() + (value.kind == TKind::Int ? 0 : value.number);
        const int size = static_cast<int>(value.size);
        const int code = value.kind == TKind::Int
                             ? sqlite3_bind_int64(statement, index, value.number)
                         : value.kind == TKind::Text
                             ? sqlite3_bind_text(statement, index, bytes, size, SQLITE_STATIC)
                             : sqlite3_bind_blob(statement, index, bytes, size, SQLITE_STATIC);
        db_.Check(code, "bind");
    }
    const int code = sqlite3_step(statement);
    sqlite3_reset(statement);
    values_.clear();
    text_.clear();
    if (code != SQLITE_DONE) {
        db_.Check(code == SQLITE_ROW ? SQLITE_MISUSE : code, head_);
    }
}

TFeedRow::TValue& TFeedRow::Next() {
    if (size_ == kMaxColumns) {
        throw std::length_error("TFeedRow: more than 16 columns");
    }
    return values_[size_++];
}

TFeedRow& TFeedRow::Add(std::int64_t value) {
    Next() = {TKind::Int, value, {}};
    return *this;
}

TFeedRow& TFeedRow::Add(std::string_view text) {
    Next() = {TKind::Text, 0, text};
    return *this;
}

TFeedRow& TFeedRow::AddBytes(std::string_view bytes) {
    Next() = {TKind::Bytes, 0, bytes};
    return *this;
}

void InsertFed(TDatabase& db, std::string_view head, int columns, IRowFeed& feed) {
    std::string sql = std::string(head) + " SELECT ";
    for (int c = 0; c < columns; ++c) {
        sql += (c == 0 ? "c" : ", c") + std::to_string(c);
    }
    sql += " FROM ";
    sql += kFeedModule;
    sql += "(?1)";
    sqlite3_stmt* insert = nullptr;
    db.Check(
        sqlite3_prepare_v2(db.Handle(), sql.data(), static_cast<int>(sql.size()), &insert, nullptr),
        sql);
    TFeedCall call{&feed, nullptr};
    int code = sqlite3_bind_pointer(insert, 1, &call, kFeedPointer, nullptr);
    if (code == SQLITE_OK) {
        code = sqlite3_step(insert);
    }
    const std::string error = code == SQLITE_DONE ? std::string() : db.ErrorText();
    sqlite3_finalize(insert);
    if (call.failure) {
        std::rethrow_exception(call.failure);
    }
    if (code != SQLITE_DONE) {
        throw TSqlError(std::string(head) + ": " + error,
                        code == SQLITE_ROW ? SQLITE_MISUSE : code);
    }
}

TTransaction::TTransaction(TDatabase& db) : db_(db) {
    db_.Exec("BEGIN IMMEDIATE");
}

TTransaction::~TTransaction() {
    if (!done_) {
        sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void TTransaction::Commit() {
    db_.Exec("COMMIT");
    done_ = true;
}

} // namespace archive::sql
