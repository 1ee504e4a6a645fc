#include "archive/Sqlite.h"

#include <algorithm>
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
