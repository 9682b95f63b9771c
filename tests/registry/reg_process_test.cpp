// The registry across processes: a flushed write survives the writer being
// killed, and processes writing at the same time lose nothing.
#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "common/device.h"
#include "registry/registry_admin.h"
#include "temp_device.h"

namespace {

// Runs `child` in a forked process; it ends with _exit, never returning into
// the test runner.
pid_t spawn(const std::function<int()>& child) {
    pid_t pid = fork();
    if (pid == 0) {
        int code = 99;
        try {
            code = child();
        } catch (...) {
        }
        _exit(code);
    }
    return pid;
}

int waitExit(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

HKEY createKey(const char16_t* path) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, 0, nullptr, &key, &disposition) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

std::u16string numbered(const char16_t* prefix, int n) {
    std::u16string name = prefix;
    for (char c : std::to_string(n)) {
        name += char16_t(c);
    }
    return name;
}

LONG queryBinary(const char16_t* keyPath, const std::u16string& name, std::vector<BYTE>& data) {
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, 0, &key);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    DWORD size = 64;
    data.assign(64, 0);
    rc = RegQueryValueExW(key, name.c_str(), nullptr, nullptr, data.data(), &size);
    data.resize(rc == ERROR_SUCCESS ? size : 0);
    RegCloseKey(key);
    return rc;
}

std::string integrityCheck(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr);
        if (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
            result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
}

TEST(RegistryProcesses, FlushedWriteSurvivesKill) {
    kxtest::TempDevice device;
    // The parent has its own connection open before the fork.
    RegCloseKey(createKey(u"Drivers"));
    struct Case {
        const char* name;
        bool flush;
    };
    for (const Case c : {Case{"flushed", true}, Case{"committed, not flushed", false}}) {
        SCOPED_TRACE(c.name);
        pid_t child = spawn([&] {
            HKEY key = createKey(u"Comm\\EMACB1\\Parms");
            const std::u16string text = u"02-7D-E3-12-34-56";
            if (!key || RegSetValueExW(key, u"NetworkAddress", 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(text.data()),
                                       DWORD(text.size() * 2)) != ERROR_SUCCESS) {
                return 1;
            }
            if (c.flush && RegFlushKey(key) != ERROR_SUCCESS) {
                return 2;
            }
            kill(getpid(), SIGKILL);
            return 3;
        });
        ASSERT_EQ(waitExit(child), -SIGKILL);
        std::vector<BYTE> data;
        ASSERT_EQ(queryBinary(u"Comm\\EMACB1\\Parms", u"NetworkAddress", data), ERROR_SUCCESS);
        EXPECT_EQ(data.size(), 34u);
        // The parent's own connection still works after the child's death.
        EXPECT_EQ(RegDeleteValueW(HKEY_LOCAL_MACHINE, u"x"), ERROR_FILE_NOT_FOUND);
    }
    EXPECT_EQ(integrityCheck(device.folder() / "registry.db"), "ok");
}

TEST(RegistryProcesses, KillDuringWritesLeavesASoundDatabase) {
    kxtest::TempDevice device;
    pid_t child = spawn([] {
        HKEY key = createKey(u"Busy");
        for (int i = 0;; ++i) {
            BYTE data[4] = {BYTE(i), BYTE(i >> 8), 0, 0};
            RegSetValueExW(key, numbered(u"v", i).c_str(), 0, REG_DWORD, data, 4);
        }
        return 0;
    });
    usleep(300 * 1000);
    kill(child, SIGKILL);
    ASSERT_EQ(waitExit(child), -SIGKILL);
    EXPECT_EQ(integrityCheck(device.folder() / "registry.db"), "ok");
    // Every value that made it is whole, and they were written in order.
    auto keys = kx::listRegistry(u"HKEY_LOCAL_MACHINE\\Busy");
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_GT(keys[0].values.size(), 0u);
    for (size_t i = 0; i < keys[0].values.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(keys[0].values[i].name, numbered(u"v", int(i)));
        ASSERT_EQ(keys[0].values[i].data.size(), 4u);
        EXPECT_EQ(keys[0].values[i].data[0], BYTE(i));
    }
}

TEST(RegistryProcesses, ConcurrentWritersLoseNothing) {
    kxtest::TempDevice device;
    constexpr int kWriters = 2;
    constexpr int kValues = 300;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        children.push_back(spawn([w] {
            int failures = 0;
            for (int i = 0; i < kValues; ++i) {
                // Both write into the same key, which each creates on its own.
                HKEY key = createKey(u"Shared\\Key");
                BYTE data[2] = {BYTE(w), BYTE(i)};
                std::u16string name = numbered(w == 0 ? u"a" : u"b", i);
                failures += !key;
                failures +=
                    RegSetValueExW(key, name.c_str(), 0, REG_BINARY, data, 2) != ERROR_SUCCESS;
                if (i % 10 == 0) {
                    failures += RegFlushKey(key) != ERROR_SUCCESS;
                }
                failures += RegCloseKey(key) != ERROR_SUCCESS;
            }
            return failures > 0 ? 1 : 0;
        }));
    }
    // A third process keeps saving the registry meanwhile, as the
    // registry-saving program does.
    children.push_back(spawn([] {
        for (int i = 0; i < 20; ++i) {
            kx::saveRegistry("test saver");
        }
        return 0;
    }));
    for (pid_t child : children) {
        EXPECT_EQ(waitExit(child), 0) << "a call failed in process " << child;
    }
    auto keys = kx::listRegistry(u"HKEY_LOCAL_MACHINE\\Shared\\Key");
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].values.size(), size_t(kWriters * kValues));
    EXPECT_EQ(kx::saveRuns().size(), 20u);
    kx::saveRegistry("test");
    kx::restartRegistry();
    EXPECT_EQ(kx::listRegistry(u"HKLM\\Shared\\Key")[0].values.size(), size_t(kWriters * kValues));
}

} // namespace
