// One connection to a device's registry database (SQLite). The database holds
// two copies of the registry, "live" (what the services read and write) and
// "saved" (what a restart goes back to), and the list of saves.
//
// Durability: every change is committed at once in its own transaction, so a
// change survives the writing process being killed right after the call and
// no other process ever sees half of it. `checkpoint` additionally forces the
// write-ahead log to disk, so that flushed changes also survive the host
// itself going down. The database is in WAL mode and waits for another
// process's lock (busy timeout plus retries) instead of failing.
//
// It does not know about keys, values or handles: callers write SQL.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kx {

class RegistryDatabase {
public:
    // Opens (creating when missing) the database file; its folder must exist.
    // Throws RegistryError (ERROR_CANTOPEN, ERROR_BADDB) on failure.
    explicit RegistryDatabase(const std::filesystem::path& file);
    ~RegistryDatabase();
    RegistryDatabase(const RegistryDatabase&) = delete;
    RegistryDatabase& operator=(const RegistryDatabase&) = delete;

    // Leaves the connection open without closing it. Used in a forked child,
    // where closing the parent's connection could disturb the parent's locks.
    void abandon();

    const std::filesystem::path& file() const { return m_file; }
    sqlite3* handle() const { return m_db; }

    // Runs `work` inside one write transaction (BEGIN IMMEDIATE), retrying
    // the whole transaction while another process holds the database. Any
    // exception from `work` rolls it back and propagates.
    void write(const std::function<void()>& work);
    // Runs `work` inside one read transaction, so that it sees one state.
    void read(const std::function<void()>& work);
    // Forces committed changes to disk.
    void checkpoint();

    // Runs statements without results (schema, pragmas).
    void exec(const char* sql);

    // Throws RegistryError for an SQLite result code other than OK/ROW/DONE.
    void check(int rc, const char* what) const;

private:
    void runWithRetry(const std::function<void()>& attempt);
    // Runs `work` between `begin` and COMMIT, rolled back on any exception.
    void transaction(const char* begin, const std::function<void()>& work);
    void createSchema();

    std::filesystem::path m_file;
    sqlite3* m_db = nullptr;
};

// A prepared statement with binding helpers; finalised on destruction.
class Statement {
public:
    Statement(RegistryDatabase& db, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, int64_t value);
    Statement& bind(int index, const std::string& text);
    Statement& bindBlob(int index, const std::vector<uint8_t>& data);
    // Steps once; true while a row is available.
    bool step();
    // Steps to the end, for statements without rows.
    void run();
    void reset();

    int64_t integer(int column) const;
    std::string text(int column) const;
    std::vector<uint8_t> blob(int column) const;
    bool isNull(int column) const;

private:
    RegistryDatabase& m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace kx
