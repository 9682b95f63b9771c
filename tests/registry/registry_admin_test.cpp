// Save, restart and import of the whole registry: what a restart keeps, and
// imports that apply all or nothing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <regex>
#include <string>
#include <vector>

#include <windows.h>

#include "registry/registry_admin.h"
#include "registry/registry_error.h"
#include "temp_device.h"

namespace {

using kx::RegistryChange;

HKEY createKey(const char16_t* path) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    EXPECT_EQ(
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, 0, nullptr, &key, &disposition),
        ERROR_SUCCESS);
    return key;
}

void setByte(HKEY key, const char16_t* name, BYTE value) {
    ASSERT_EQ(RegSetValueExW(key, name, 0, REG_BINARY, &value, 1), ERROR_SUCCESS);
    ASSERT_EQ(RegFlushKey(key), ERROR_SUCCESS);
}

LONG query(HKEY key, const char16_t* name) {
    return RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr);
}

TEST(RegistryRestart, GoesBackToTheLastSave) {
    kxtest::TempDevice device;
    HKEY cs8900 = createKey(u"Drivers\\CS8900");
    setByte(cs8900, u"MACADD", 1);
    kx::SaveRun run = kx::saveRegistry("SaveRegs.exe");
    EXPECT_EQ(run.pid, getpid());
    EXPECT_EQ(run.program, "SaveRegs.exe");
    EXPECT_TRUE(std::regex_match(run.time, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)")))
        << run.time;

    setByte(cs8900, u"MACADD", 2);        // changed after the save
    setByte(cs8900, u"Later", 3);         // new value after the save
    HKEY added = createKey(u"Comm\\New"); // new key after the save

    auto restored = kx::restartRegistry();
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->id, run.id);

    BYTE value = 0;
    DWORD size = 1;
    EXPECT_EQ(RegQueryValueExW(cs8900, u"MACADD", nullptr, nullptr, &value, &size), ERROR_SUCCESS)
        << "a handle to a key that survived keeps working";
    EXPECT_EQ(value, 1);
    EXPECT_EQ(query(cs8900, u"Later"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(query(added, u"x"), ERROR_KEY_DELETED);
    HKEY reopened = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Comm", 0, 0, &reopened), ERROR_FILE_NOT_FOUND);
    RegCloseKey(added);
    RegCloseKey(cs8900);

    // A second save replaces the first, whole.
    HKEY key = createKey(u"Drivers\\CS8900");
    setByte(key, u"MACADD", 5);
    RegDeleteValueW(key, u"MACADD");
    setByte(key, u"Other", 6);
    kx::saveRegistry("kestrix-device");
    kx::restartRegistry();
    EXPECT_EQ(query(key, u"MACADD"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(query(key, u"Other"), ERROR_SUCCESS);
    RegCloseKey(key);
    auto runs = kx::saveRuns();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].program, "kestrix-device");
}

TEST(RegistryRestart, WithoutASaveEmptiesTheRegistry) {
    kxtest::TempDevice device;
    HKEY key = createKey(u"Drivers\\CS8900");
    setByte(key, u"MACADD", 1);
    EXPECT_FALSE(kx::restartRegistry());
    EXPECT_TRUE(kx::listRegistry().empty());
    // New keys after the restart get fresh handles and work as before.
    HKEY again = createKey(u"Drivers\\CS8900");
    setByte(again, u"MACADD", 1);
    EXPECT_EQ(query(key, u"MACADD"), ERROR_KEY_DELETED) << "old handle must not see the new key";
    RegCloseKey(key);
    RegCloseKey(again);
}

TEST(RegistryInit, CreatesKeysAndSavesOnce) {
    kxtest::TempDevice device;
    kx::initRegistry({u"HKEY_LOCAL_MACHINE\\Drivers\\CS8900", u"HKEY_LOCAL_MACHINE\\Comm"},
                     "kestrix-device init");
    kx::restartRegistry();
    auto keys = kx::listRegistry();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[2].path, u"HKEY_LOCAL_MACHINE\\Drivers\\CS8900");
    ASSERT_EQ(kx::saveRuns().size(), 1u);
    EXPECT_EQ(kx::saveRuns()[0].program, "kestrix-device init");
}

TEST(RegistryImport, AppliesAllOrNothing) {
    kxtest::TempDevice device;
    HKEY key = createKey(u"Drivers\\CS8900");
    setByte(key, u"MACADD", 1);
    RegCloseKey(key);
    const auto before = kx::listRegistry();

    auto set = [](std::u16string path, std::u16string name, int line) {
        return RegistryChange{RegistryChange::Kind::SetValue, path, {name, REG_BINARY, {9}}, line};
    };
    struct Case {
        const char* name;
        std::vector<RegistryChange> changes;
        std::string message;
    };
    const std::u16string tooLong(256, u'k');
    const Case cases[] = {
        {"bad root after good changes",
         {set(u"HKEY_LOCAL_MACHINE\\A", u"v", 2), set(u"HKEY_NOWHERE\\B", u"v", 7)},
         "line 7: \"HKEY_NOWHERE\" is not a registry root"},
        {"key name too long",
         {set(u"HKEY_LOCAL_MACHINE\\A", u"v", 3), set(u"HKEY_LOCAL_MACHINE\\" + tooLong, u"v", 9)},
         "line 9: key name longer than 255"},
        {"root deletion",
         {set(u"HKEY_LOCAL_MACHINE\\A", u"v", 3),
          {RegistryChange::Kind::DeleteKey, u"HKEY_LOCAL_MACHINE", {}, 4}},
         "line 4: a root key cannot be deleted"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            kx::importRegistry(c.changes, kx::ImportMode::Replace);
            ADD_FAILURE() << "import did not fail";
        } catch (const kx::RegistryError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        auto after = kx::listRegistry();
        ASSERT_EQ(after.size(), before.size());
        EXPECT_EQ(after[1].values.size(), 1u);
    }
}

TEST(RegistryImport, MergesOrReplaces) {
    kxtest::TempDevice device;
    HKEY key = createKey(u"Drivers\\CS8900");
    setByte(key, u"MACADD", 1);
    setByte(key, u"Keep", 1);
    RegCloseKey(key);
    RegCloseKey(createKey(u"Comm\\Gone\\Deep"));

    using K = RegistryChange::Kind;
    kx::importRegistry(
        {
            {K::DeleteValue, u"HKEY_LOCAL_MACHINE\\drivers\\cs8900", {u"macadd", 0, {}}, 1},
            {K::DeleteKey, u"HKEY_LOCAL_MACHINE\\Comm\\Gone", {}, 2},
            {K::DeleteKey, u"HKEY_LOCAL_MACHINE\\Never\\There", {}, 3},
            {K::DeleteValue, u"HKEY_LOCAL_MACHINE\\Never", {u"x", 0, {}}, 4},
            {K::SetValue, u"HKEY_CURRENT_USER\\Fresh", {u"", REG_DWORD, {1, 0, 0, 0}}, 5},
        },
        kx::ImportMode::Merge);
    auto keys = kx::listRegistry();
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].path, u"HKEY_CURRENT_USER\\Fresh");
    EXPECT_EQ(keys[1].path, u"HKEY_LOCAL_MACHINE\\Comm");
    ASSERT_EQ(keys[3].values.size(), 1u);
    EXPECT_EQ(keys[3].values[0].name, u"Keep");
    EXPECT_TRUE(kx::saveRuns().empty()) << "an import does not save";

    kx::importRegistry({{K::CreateKey, u"HKEY_USERS\\Only", {}, 1}}, kx::ImportMode::Replace);
    keys = kx::listRegistry();
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].path, u"HKEY_USERS\\Only");
}

TEST(RegistryList, ReportsAMissingKey) {
    kxtest::TempDevice device;
    EXPECT_THROW(kx::listRegistry(u"HKEY_LOCAL_MACHINE\\Missing"), kx::RegistryError);
    EXPECT_THROW(kx::listRegistry(u"HKEY_NOWHERE"), kx::RegistryError);
    EXPECT_EQ(kx::listRegistry(u"HKLM").size(), 1u) << "a root exists always";
}

TEST(RegistryDevice, SelectRefusesFoldersThatAreNoDevice) {
    kxtest::TempDevice device;
    auto missing = device.folder() / "missing";
    auto plain = device.folder() / "plain";
    std::filesystem::create_directories(plain);
    for (const auto& folder : {missing, plain}) {
        SCOPED_TRACE(folder.string());
        EXPECT_THROW(kx::selectDevice(folder), kx::RegistryError);
        EXPECT_FALSE(std::filesystem::exists(folder / "registry.db"));
    }
    EXPECT_NO_THROW(kx::selectDevice(device.folder()));
}

} // namespace
