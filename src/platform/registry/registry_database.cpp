#include "registry/registry_database.h"

#include <chrono>
#include <thread>

#include "registry/registry_error.h"

namespace kx {

namespace {

// How long one call waits inside SQLite for another process's lock, and how
// long the retries around a whole transaction go on before giving up.
constexpr int kBusyTimeoutMs = 5000;
constexpr auto kRetryLimit = std::chrono::seconds(30);

// Another process holds the database; the transaction is tried again.
class DatabaseBusy : public RegistryError {
public:
    explicit DatabaseBusy(const std::string& message) : RegistryError(ERROR_CANTWRITE, message) {}
};

const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS live_keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    UNIQUE(parent, folded));
CREATE TABLE IF NOT EXISTS live_values(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    key INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(key, folded));
CREATE TABLE IF NOT EXISTS saved_keys(
    id INTEGER PRIMARY KEY,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    UNIQUE(parent, folded));
CREATE TABLE IF NOT EXISTS saved_values(
    id INTEGER PRIMARY KEY,
    key INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(key, folded));
CREATE TABLE IF NOT EXISTS save_runs(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    time TEXT NOT NULL,
    pid INTEGER NOT NULL,
    program TEXT NOT NULL);
)sql";

// The predefined roots have fixed ids in both copies; their parent is 0.
const char* const kRoots = R"sql(
INSERT OR IGNORE INTO live_keys(id, parent, name, folded) VALUES
    (1, 0, 'HKEY_CLASSES_ROOT', 'hkey_classes_root'),
    (2, 0, 'HKEY_CURRENT_USER', 'hkey_current_user'),
    (3, 0, 'HKEY_LOCAL_MACHINE', 'hkey_local_machine'),
    (4, 0, 'HKEY_USERS', 'hkey_users');
INSERT OR IGNORE INTO saved_keys SELECT * FROM live_keys WHERE parent = 0;
)sql";

bool isBusy(int rc) {
    int primary = rc & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

} // namespace

RegistryDatabase::RegistryDatabase(const std::filesystem::path& file) : m_file(file) {
    std::error_code ec;
    if (!std::filesystem::is_directory(file.parent_path(), ec)) {
        throw RegistryError(ERROR_CANTOPEN,
                            "the device folder " + file.parent_path().string() + " does not exist");
    }
    int rc =
        sqlite3_open_v2(file.c_str(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = "cannot open the registry database " + file.string() + ": " +
                              (m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw RegistryError(ERROR_CANTOPEN, message);
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    try {
        runWithRetry([this] {
            exec("PRAGMA journal_mode=WAL");
            exec("PRAGMA synchronous=NORMAL");
        });
        createSchema();
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
}

RegistryDatabase::~RegistryDatabase() {
    if (m_db) {
        sqlite3_close(m_db);
    }
}

void RegistryDatabase::abandon() {
    // Kept reachable on purpose: the connection is left as it is, not leaked.
    static std::vector<sqlite3*> abandoned;
    abandoned.push_back(m_db);
    m_db = nullptr;
}

void RegistryDatabase::createSchema() {
    Statement version(*this, "PRAGMA user_version");
    version.step();
    int64_t current = version.integer(0);
    version.reset();
    if (current > 1) {
        throw RegistryError(ERROR_BADDB, "the registry database " + m_file.string() +
                                             " was written by a newer version");
    }
    if (current == 1) {
        return;
    }
    write([this] {
        exec(kSchema);
        exec(kRoots);
        exec("PRAGMA user_version = 1");
    });
}

void RegistryDatabase::check(int rc, const char* what) const {
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) {
        return;
    }
    std::string message =
        std::string(what) + ": " + sqlite3_errmsg(m_db) + " (" + m_file.string() + ")";
    if (isBusy(rc)) {
        throw DatabaseBusy(message);
    }
    int primary = rc & 0xff;
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) {
        throw RegistryError(ERROR_BADDB, message);
    }
    if (primary == SQLITE_FULL) {
        throw RegistryError(ERROR_DISK_FULL, message);
    }
    if (primary == SQLITE_CANTOPEN) {
        throw RegistryError(ERROR_CANTOPEN, message);
    }
    throw RegistryError(ERROR_CANTWRITE, message);
}

void RegistryDatabase::exec(const char* sql) {
    char* error = nullptr;
    int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &error);
    sqlite3_free(error);
    check(rc, "registry database");
}

void RegistryDatabase::runWithRetry(const std::function<void()>& attempt) {
    auto deadline = std::chrono::steady_clock::now() + kRetryLimit;
    for (;;) {
        try {
            attempt();
            return;
        } catch (const DatabaseBusy&) {
            if (std::chrono::steady_clock::now() > deadline) {
                throw;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
}

void RegistryDatabase::transaction(const char* begin, const std::function<void()>& work) {
    runWithRetry([&] {
        exec(begin);
        try {
            work();
            exec("COMMIT");
        } catch (...) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    });
}

void RegistryDatabase::write(const std::function<void()>& work) {
    transaction("BEGIN IMMEDIATE", work);
}

void RegistryDatabase::read(const std::function<void()>& work) {
    transaction("BEGIN DEFERRED", work);
}

void RegistryDatabase::checkpoint() {
    // A passive checkpoint syncs the log and copies what no reader still
    // needs; it never waits for other processes.
    int rc = sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    if (!isBusy(rc)) {
        check(rc, "flush registry");
    }
}

Statement::Statement(RegistryDatabase& db, const char* sql) : m_db(db) {
    db.check(sqlite3_prepare_v2(db.handle(), sql, -1, &m_stmt, nullptr), "registry query");
}

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

Statement& Statement::bind(int index, int64_t value) {
    m_db.check(sqlite3_bind_int64(m_stmt, index, value), "registry query");
    return *this;
}

Statement& Statement::bind(int index, const std::string& text) {
    m_db.check(sqlite3_bind_text(m_stmt, index, text.data(), int(text.size()), SQLITE_TRANSIENT),
               "registry query");
    return *this;
}

Statement& Statement::bindBlob(int index, const std::vector<uint8_t>& data) {
    // An empty blob must still be a blob, not NULL.
    int rc = data.empty() ? sqlite3_bind_zeroblob(m_stmt, index, 0)
                          : sqlite3_bind_blob(m_stmt, index, data.data(), int(data.size()),
                                              SQLITE_TRANSIENT);
    m_db.check(rc, "registry query");
    return *this;
}

bool Statement::step() {
    int rc = sqlite3_step(m_stmt);
    m_db.check(rc, "registry query");
    return rc == SQLITE_ROW;
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

void Statement::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

std::string Statement::text(int column) const {
    const unsigned char* text = sqlite3_column_text(m_stmt, column);
    int size = sqlite3_column_bytes(m_stmt, column);
    return text ? std::string(reinterpret_cast<const char*>(text), size_t(size)) : std::string();
}

std::vector<uint8_t> Statement::blob(int column) const {
    const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(m_stmt, column));
    int size = sqlite3_column_bytes(m_stmt, column);
    return data ? std::vector<uint8_t>(data, data + size) : std::vector<uint8_t>();
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

} // namespace kx
