#include "archive/Sqlite.h"

#include <sqlite3.h>
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
    }
    const int code = sqlite3_open_v2(name.c_str(), &db_, flags, nullptr);
    if (code != SQLITE_OK) {
        const std::string text = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
        sqlite3_close(db_);
        db_ = nullptr;
        throw TSqlError("open: " + text, code);
    }
    sqlite3_extended_result_codes(db_, 1);
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
