// A small owner of SQLite handles: the database connection and its prepared statements, each
// closed or finalised by its destructor, and the failures as exceptions that carry SQLite's
// own text (the index turns them into a message and a rebuild, never into a crash).
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace archive::sql {

// A failing SQLite call: what was done, SQLite's message and its result code.
class TSqlError : public std::runtime_error {
public:
    TSqlError(const std::string& what, int code) : std::runtime_error(what), code_(code) {}
    int Code() const noexcept { return code_; }
    // The primary result code says the database file is not one, or is damaged.
    bool Damaged() const noexcept;
    // The database is locked by another connection, or the disk refuses the write.
    bool Busy() const noexcept;

private:
    int code_;
};

// How a database is opened.
enum class TOpenMode {
    ReadWrite, // the file must exist
    Create,    // made when missing
    ReadOnly,  // never written
    Memory,    // a private database in memory, gone when closed
    Build,     // made when missing, by one connection in one go: its writes gathered into
               // large ones (WriteOut)
};

// One connection.
class TDatabase {
public:
    TDatabase() = default;
    // Opens the database file; throws TSqlError when it cannot.
    TDatabase(const std::filesystem::path& file, TOpenMode mode);
    ~TDatabase();
    TDatabase(TDatabase&& other) noexcept;
    TDatabase& operator=(TDatabase&& other) noexcept;
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    sqlite3* Handle() const noexcept { return db_; }
    explicit operator bool() const noexcept { return db_ != nullptr; }

    // Runs statements without results (several, separated by ";").
    void Exec(std::string_view sql);
    // The integer a one-value query gives ("PRAGMA user_version"); 0 when it gives no row.
    std::int64_t QueryInt(std::string_view sql);
    // The text a one-value query gives; empty when it gives no row.
    std::string QueryText(std::string_view sql);
    // Sends out the writes a database opened to be built has gathered, which a database that
    // is not synced would otherwise only send when it is closed, where a refusal goes unseen.
    // Throws TSqlError when the disk refuses them.
    void WriteOut();
    // How long a statement waits for another connection's lock before it fails as busy.
    void BusyTimeout(int milliseconds);
    // SQLite's message of the last failure.
    std::string ErrorText() const;

    // Throws TSqlError for a result code that is not SQLITE_OK.
    void Check(int code, std::string_view doing) const;

private:
    sqlite3* db_ = nullptr;
};

// A prepared statement; parameters are numbered from 1, columns from 0.
class TStatement {
public:
    TStatement(TDatabase& db, std::string_view sql);
    ~TStatement();
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    TStatement& Bind(int index, std::int64_t value);
    TStatement& Bind(int index, int value) { return Bind(index, static_cast<std::int64_t>(value)); }
    // Text bound as UTF-8 text (codes, keys, ASCII).
    TStatement& Bind(int index, std::string_view text);
    // CP932 bytes bound as a blob, so that SQLite never takes them for UTF-8.
    TStatement& BindBytes(int index, std::string_view bytes);
    // Steps once: true while a row is there.
    bool Step();
    // Steps a statement without results to its end, then resets it for the next binding.
    void Run();
    // Ready for the next binding: the last run's state and parameters cleared.
    void Reset();

    std::int64_t Int(int column) const;
    // A column's bytes (text or blob) as they are stored; empty for NULL.
    std::string Text(int column) const;
    bool IsNull(int column) const;
    // Columns of the statement's rows.
    int Columns() const;

private:
    TDatabase& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Rows put into one table through statements of many rows each ("INSERT ... VALUES (...),
// (...), ..."), so that a build of hundreds of thousands of rows runs a statement per batch
// rather than per row. The values of a row are added in column order and copied into the
// batch; a full batch is run at the row's end, what is left by Finish. With one row a batch
// each row is run at its end, before anything the caller does next.
class TBatchInsert {
public:
    // head: "INSERT OR REPLACE INTO runs" and the like; tail, what follows the values (an
    // "ON CONFLICT" clause).
    TBatchInsert(TDatabase& db, std::string head, int columns, int rowsPerStatement,
                 std::string tail = {});
    ~TBatchInsert();
    TBatchInsert(const TBatchInsert&) = delete;
    TBatchInsert& operator=(const TBatchInsert&) = delete;

    TBatchInsert& Add(std::int64_t value);
    TBatchInsert& Add(int value) { return Add(static_cast<std::int64_t>(value)); }
    // Text bound as UTF-8 text (codes, keys, ASCII).
    TBatchInsert& Add(std::string_view text);
    // CP932 bytes bound as a blob, so that SQLite never takes them for UTF-8.
    TBatchInsert& AddBytes(std::string_view bytes);
    // Ends the row; runs the batch when it is full. Throws TSqlError when the statement fails.
    void EndRow();
    // Runs the rows not run yet.
    void Finish();

private:
    enum class TKind : unsigned char { Int, Text, Bytes };
    struct TValue {
        TKind kind;
        std::int64_t number; // the value, or the offset of the bytes in text_
        std::size_t size;
    };
    sqlite3_stmt* Prepare(int rows);
    void Run(sqlite3_stmt* statement, std::size_t rows);

    TDatabase& db_;
    std::string head_;
    std::string tail_;
    int columns_;
    int rowsPerStatement_;
    sqlite3_stmt* full_ = nullptr; // the statement of a whole batch, made when first needed
    std::vector<TValue> values_;
    std::string text_; // the bytes of the batch's text and blob values
};

// The values of one row an IRowFeed hands to SQLite, in column order. Texts and bytes are
// views: what they show must stay until the feed is asked for its next row.
class TFeedRow {
public:
    static constexpr int kMaxColumns = 16;

    TFeedRow& Add(std::int64_t value);
    TFeedRow& Add(int value) { return Add(static_cast<std::int64_t>(value)); }
    // Text given to SQLite as UTF-8 text (codes, keys, ASCII).
    TFeedRow& Add(std::string_view text);
    // CP932 bytes given as a blob, so that SQLite never takes them for UTF-8.
    TFeedRow& AddBytes(std::string_view bytes);
    void Clear() noexcept { size_ = 0; }

    enum class TKind : unsigned char { Int, Text, Bytes };
    struct TValue {
        TKind kind = TKind::Int;
        std::int64_t number = 0;
        std::string_view bytes;
    };
    int Size() const noexcept { return size_; }
    const TValue& At(int column) const noexcept { return values_[column]; }

private:
    TValue& Next();

    TValue values_[kMaxColumns];
    int size_ = 0;
};

// Rows put into a table by one statement ("INSERT ... SELECT" from the feed through a virtual
// table), with no statement run and no value bound per row: how a build puts in hundreds of
// thousands of rows that it has sorted or reads as they come.
class IRowFeed {
public:
    virtual ~IRowFeed() = default;
    // Fills row (given cleared) with the next row; false when there is none left.
    virtual bool Next(TFeedRow& row) = 0;
};

// Runs head ("INSERT OR REPLACE INTO runs") with the feed's rows, `columns` values each. What
// the feed throws is thrown again here, once SQLite has stopped; a failing insert throws
// TSqlError. Either way the rows put in so far are the caller's transaction's to roll back.
void InsertFed(TDatabase& db, std::string_view head, int columns, IRowFeed& feed);

// One transaction: begun by the constructor, committed by Commit, rolled back by the
// destructor when not committed (a failure on the way loses nothing already in the index).
class TTransaction {
public:
    explicit TTransaction(TDatabase& db);
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;
    void Commit();

private:
    TDatabase& db_;
    bool done_ = false;
};

} // namespace archive::sql
