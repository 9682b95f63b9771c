// The registry services: dispositions, names without regard to case, values
// stored byte for byte, and every kind of bad argument.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/utf.h"
#include "registry/registry_admin.h"
#include "temp_device.h"

namespace {

const HKEY kMarkerKey = reinterpret_cast<HKEY>(uintptr_t(0xdeadbeef));
constexpr DWORD kMarker = 0xdeadbeef;

HKEY create(HKEY root, const char16_t* path, DWORD* disposition = nullptr) {
    HKEY key = kMarkerKey;
    DWORD ignored = 0;
    EXPECT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, 0, nullptr, &key,
                              disposition ? disposition : &ignored),
              ERROR_SUCCESS);
    return key;
}

std::vector<BYTE> bytesOf(std::u16string_view text, bool terminated) {
    std::vector<BYTE> out;
    for (char16_t c : text) {
        out.push_back(BYTE(c & 0xff));
        out.push_back(BYTE(c >> 8));
    }
    if (terminated) {
        out.insert(out.end(), {0, 0});
    }
    return out;
}

TEST(RegCreateKeyExW, ReportsDispositionAndCreatesParents) {
    kxtest::TempDevice device;
    struct Case {
        const char* name;
        HKEY root;
        std::u16string path;
        LONG result;
        DWORD disposition;
    };
    const Case cases[] = {
        {"new key with missing parent", HKEY_LOCAL_MACHINE, u"Drivers\\CS8900", ERROR_SUCCESS,
         REG_CREATED_NEW_KEY},
        {"same key again", HKEY_LOCAL_MACHINE, u"Drivers\\CS8900", ERROR_SUCCESS,
         REG_OPENED_EXISTING_KEY},
        {"other case", HKEY_LOCAL_MACHINE, u"DRIVERS\\cs8900", ERROR_SUCCESS,
         REG_OPENED_EXISTING_KEY},
        {"leading backslash", HKEY_LOCAL_MACHINE, u"\\Drivers\\CS8900", ERROR_SUCCESS,
         REG_OPENED_EXISTING_KEY},
        {"parent made on the way", HKEY_LOCAL_MACHINE, u"Drivers", ERROR_SUCCESS,
         REG_OPENED_EXISTING_KEY},
        {"three levels at once", HKEY_LOCAL_MACHINE, u"Comm\\EMACB1\\Parms", ERROR_SUCCESS,
         REG_CREATED_NEW_KEY},
        {"other root is separate", HKEY_CURRENT_USER, u"Drivers\\CS8900", ERROR_SUCCESS,
         REG_CREATED_NEW_KEY},
        {"classes root", HKEY_CLASSES_ROOT, u"x", ERROR_SUCCESS, REG_CREATED_NEW_KEY},
        {"users", HKEY_USERS, u"x", ERROR_SUCCESS, REG_CREATED_NEW_KEY},
        {"empty path opens the key itself", HKEY_LOCAL_MACHINE, u"", ERROR_SUCCESS,
         REG_OPENED_EXISTING_KEY},
        {"longest name", HKEY_LOCAL_MACHINE, std::u16string(255, u'k'), ERROR_SUCCESS,
         REG_CREATED_NEW_KEY},
        {"name too long", HKEY_LOCAL_MACHINE, std::u16string(256, u'k'), ERROR_INVALID_PARAMETER,
         kMarker},
        {"empty element", HKEY_LOCAL_MACHINE, u"Comm\\\\EMACB1", ERROR_INVALID_PARAMETER, kMarker},
        {"unpaired surrogate", HKEY_LOCAL_MACHINE, u"a\xD800z", ERROR_INVALID_PARAMETER, kMarker},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HKEY key = kMarkerKey;
        DWORD disposition = kMarker;
        EXPECT_EQ(RegCreateKeyExW(c.root, c.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, &disposition),
                  c.result);
        EXPECT_EQ(disposition, c.disposition);
        if (c.result == ERROR_SUCCESS) {
            EXPECT_NE(key, kMarkerKey);
            EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        } else {
            EXPECT_EQ(key, kMarkerKey);
        }
    }
    // Names keep the spelling they were created with.
    auto keys = kx::listRegistry(u"HKEY_LOCAL_MACHINE\\drivers");
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].path, u"HKEY_LOCAL_MACHINE\\Drivers");
    EXPECT_EQ(keys[1].path, u"HKEY_LOCAL_MACHINE\\Drivers\\CS8900");
}

TEST(RegCreateKeyExW, WorksBelowAnOpenKeyAndWithoutDisposition) {
    kxtest::TempDevice device;
    HKEY comm = create(HKEY_LOCAL_MACHINE, u"Comm");
    HKEY parms = kMarkerKey;
    ASSERT_EQ(RegCreateKeyExW(comm, u"EMACB1\\Parms", 0, nullptr, 0, 0, nullptr, &parms, nullptr),
              ERROR_SUCCESS);
    HKEY again = kMarkerKey;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"comm\\emacb1\\PARMS", 0, 0, &again),
              ERROR_SUCCESS);
    EXPECT_NE(again, parms) << "each open gives its own handle";
    const BYTE data[] = {1, 2};
    ASSERT_EQ(RegSetValueExW(parms, u"v", 0, REG_BINARY, data, 2), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(again, u"V", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 2u);
    for (HKEY key : {comm, parms, again}) {
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
}

TEST(RegOpenKeyExW, OpensExistingKeysOnly) {
    kxtest::TempDevice device;
    RegCloseKey(create(HKEY_LOCAL_MACHINE, u"Drivers\\CS8900"));
    struct Case {
        const char* name;
        const char16_t* path;
        LONG result;
    };
    const Case cases[] = {
        {"exact", u"Drivers\\CS8900", ERROR_SUCCESS},
        {"other case", u"drivers\\cs8900", ERROR_SUCCESS},
        {"trailing backslash", u"Drivers\\CS8900\\", ERROR_SUCCESS},
        {"null path opens the root", nullptr, ERROR_SUCCESS},
        {"missing key", u"Comm\\SMSC91181", ERROR_FILE_NOT_FOUND},
        {"missing subkey of existing key", u"Drivers\\CS8900\\Parms", ERROR_FILE_NOT_FOUND},
        {"prefix of a name is not the key", u"Drivers\\CS89", ERROR_FILE_NOT_FOUND},
        {"empty element", u"Drivers\\\\CS8900", ERROR_INVALID_PARAMETER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HKEY key = kMarkerKey;
        EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, c.path, 0, 0, &key), c.result);
        if (c.result == ERROR_SUCCESS) {
            EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        } else {
            EXPECT_EQ(key, kMarkerKey);
        }
    }
    // A failed open creates nothing.
    EXPECT_EQ(kx::listRegistry().size(), 2u);
}

TEST(RegSetValueExW, StoresTypeAndBytesExactly) {
    kxtest::TempDevice device;
    HKEY key = create(HKEY_LOCAL_MACHINE, u"Comm\\EMACB1\\Parms");
    struct Case {
        const char* name;
        std::u16string valueName;
        DWORD type;
        std::vector<BYTE> data;
    };
    const Case cases[] = {
        {"six-byte binary", u"MACADD", REG_BINARY, {0x02, 0x7d, 0xe3, 0x12, 0x34, 0x56}},
        {"text without terminator", u"NetworkAddress", REG_SZ,
         bytesOf(u"02-7D-E3-12-34-56", false)},
        {"terminated text", u"Name", REG_SZ, bytesOf(u"abc", true)},
        {"odd-sized text", u"Odd", REG_SZ, {0x41, 0x00, 0x42}},
        {"dword", u"Count", REG_DWORD, {10, 0, 0, 0}},
        {"multi-string", u"List", REG_MULTI_SZ, bytesOf(std::u16string(u"a\0b\0", 4), true)},
        {"empty data", u"Nothing", REG_NONE, {}},
        {"default value", u"", REG_SZ, bytesOf(u"default", true)},
        {"any type number", u"Odd type", 0x12345678, {0xff}},
        {"non-ASCII name", u"Grüße", REG_BINARY, {0}},
        {"longest name", std::u16string(16383, u'n'), REG_BINARY, {1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(RegSetValueExW(key, c.valueName.c_str(), 0, c.type, c.data.data(),
                                 DWORD(c.data.size())),
                  ERROR_SUCCESS);
    }
    // Read back through a fresh handle, with the name in another case.
    HKEY reader = kMarkerKey;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"COMM\\emacb1\\parms", 0, 0, &reader),
              ERROR_SUCCESS);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::u16string upper = c.valueName;
        for (auto& ch : upper) {
            ch = ch >= u'a' && ch <= u'z' ? char16_t(ch - 32) : ch;
        }
        DWORD type = kMarker;
        DWORD size = DWORD(c.data.size());
        std::vector<BYTE> buffer(c.data.size() + 1, 0xCC); // one guard byte
        EXPECT_EQ(RegQueryValueExW(reader, upper.c_str(), nullptr, &type, buffer.data(), &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(size, c.data.size());
        EXPECT_EQ(std::vector<BYTE>(buffer.begin(), buffer.end() - 1), c.data);
        EXPECT_EQ(buffer.back(), 0xCC) << "guard byte overwritten";
    }
    // Setting a value again replaces type and data and keeps one value.
    const BYTE dword[] = {1, 0, 0, 0};
    ASSERT_EQ(RegSetValueExW(key, u"macadd", 0, REG_DWORD, dword, 4), ERROR_SUCCESS);
    auto keys = kx::listRegistry(u"HKEY_LOCAL_MACHINE\\Comm\\EMACB1\\Parms");
    ASSERT_EQ(keys.size(), 1u);
    ASSERT_EQ(keys[0].values.size(), std::size(cases));
    EXPECT_EQ(keys[0].values[0].name, u"MACADD") << "first spelling and place are kept";
    EXPECT_EQ(keys[0].values[0].type, DWORD(REG_DWORD));
    RegCloseKey(reader);
    RegCloseKey(key);
}

TEST(RegQueryValueExW, ReportsSizesAndMissingValues) {
    kxtest::TempDevice device;
    HKEY key = create(HKEY_LOCAL_MACHINE, u"Drivers\\CS8900");
    const BYTE mac[] = {0x02, 0x7d, 0xe3, 0, 0, 1};
    ASSERT_EQ(RegSetValueExW(key, u"MACADD", 0, REG_BINARY, mac, 6), ERROR_SUCCESS);
    struct Case {
        const char* name;
        const char16_t* valueName;
        bool reserved;
        bool withType;
        DWORD bufferSize; // kMarker: no buffer
        bool withSize;
        LONG result;
        DWORD type;
        DWORD size;
        bool copied;
    };
    const Case cases[] = {
        {"size only", u"MACADD", false, true, kMarker, true, ERROR_SUCCESS, REG_BINARY, 6, false},
        {"exact buffer", u"MACADD", false, true, 6, true, ERROR_SUCCESS, REG_BINARY, 6, true},
        {"larger buffer", u"MACADD", false, true, 10, true, ERROR_SUCCESS, REG_BINARY, 6, true},
        {"buffer too small", u"MACADD", false, true, 5, true, ERROR_MORE_DATA, REG_BINARY, 6,
         false},
        {"no type asked", u"MACADD", false, false, 6, true, ERROR_SUCCESS, kMarker, 6, true},
        {"existence only", u"MACADD", false, true, kMarker, false, ERROR_SUCCESS, REG_BINARY,
         kMarker, false},
        {"missing value", u"NetworkAddress", false, true, 6, true, ERROR_FILE_NOT_FOUND, kMarker, 6,
         false},
        {"missing default value", nullptr, false, true, 6, true, ERROR_FILE_NOT_FOUND, kMarker, 6,
         false},
        {"buffer without size", u"MACADD", false, true, 6, false, ERROR_INVALID_PARAMETER, kMarker,
         kMarker, false},
        {"reserved not null", u"MACADD", true, true, 6, true, ERROR_INVALID_PARAMETER, kMarker, 6,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DWORD reserved = 0;
        DWORD type = kMarker;
        DWORD size = c.bufferSize == kMarker ? 0 : c.bufferSize;
        if (!c.withSize) {
            size = kMarker;
        }
        std::vector<BYTE> buffer(c.bufferSize == kMarker ? 1 : c.bufferSize + 1, 0xCC);
        LONG result = RegQueryValueExW(
            key, c.valueName, c.reserved ? &reserved : nullptr, c.withType ? &type : nullptr,
            c.bufferSize == kMarker ? nullptr : buffer.data(), c.withSize ? &size : nullptr);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(size, c.size);
        if (c.copied) {
            EXPECT_EQ(std::memcmp(buffer.data(), mac, 6), 0);
            EXPECT_EQ(buffer[6], 0xCC) << "guard byte overwritten";
        } else {
            for (BYTE b : buffer) {
                EXPECT_EQ(b, 0xCC) << "buffer written although nothing was returned";
            }
        }
    }
    RegCloseKey(key);
}

TEST(RegDeleteValueW, RemovesOneValue) {
    kxtest::TempDevice device;
    HKEY key = create(HKEY_LOCAL_MACHINE, u"Drivers\\CS8900");
    const BYTE one[] = {1};
    RegSetValueExW(key, u"MACADD", 0, REG_BINARY, one, 1);
    RegSetValueExW(key, u"Other", 0, REG_BINARY, one, 1);
    EXPECT_EQ(RegDeleteValueW(key, u"macadd"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, u"MACADD"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key, u"MACADD", nullptr, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key, u"Other", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST(RegistryServices, RefuseBadHandlesAndArguments) {
    kxtest::TempDevice device;
    HKEY open = create(HKEY_LOCAL_MACHINE, u"Drivers\\CS8900");
    HKEY closed = create(HKEY_LOCAL_MACHINE, u"Drivers\\Closed");
    ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
    const HKEY garbage = reinterpret_cast<HKEY>(uintptr_t(0x1234567));
    const BYTE data[] = {1, 2, 3};
    const std::u16string longValueName(16384, u'v');

    struct Case {
        const char* name;
        std::function<LONG(HKEY*, DWORD*)> call;
        LONG result;
    };
    const std::vector<Case> cases = {
        {"create under null",
         [](HKEY* k, DWORD* d) {
             return RegCreateKeyExW(nullptr, u"a", 0, nullptr, 0, 0, nullptr, k, d);
         },
         ERROR_INVALID_HANDLE},
        {"create under closed",
         [&](HKEY* k, DWORD* d) {
             return RegCreateKeyExW(closed, u"a", 0, nullptr, 0, 0, nullptr, k, d);
         },
         ERROR_INVALID_HANDLE},
        {"create under garbage",
         [&](HKEY* k, DWORD* d) {
             return RegCreateKeyExW(garbage, u"a", 0, nullptr, 0, 0, nullptr, k, d);
         },
         ERROR_INVALID_HANDLE},
        {"create without result",
         [](HKEY*, DWORD* d) {
             return RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"a", 0, nullptr, 0, 0, nullptr, nullptr,
                                    d);
         },
         ERROR_INVALID_PARAMETER},
        {"create without path",
         [](HKEY* k, DWORD* d) {
             return RegCreateKeyExW(HKEY_LOCAL_MACHINE, nullptr, 0, nullptr, 0, 0, nullptr, k, d);
         },
         ERROR_INVALID_PARAMETER},
        {"open under closed", [&](HKEY* k, DWORD*) { return RegOpenKeyExW(closed, u"a", 0, 0, k); },
         ERROR_INVALID_HANDLE},
        {"open without result",
         [](HKEY*, DWORD*) { return RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers", 0, 0, nullptr); },
         ERROR_INVALID_PARAMETER},
        {"set on closed",
         [&](HKEY*, DWORD*) { return RegSetValueExW(closed, u"v", 0, REG_BINARY, data, 3); },
         ERROR_INVALID_HANDLE},
        {"set on null",
         [&](HKEY*, DWORD*) { return RegSetValueExW(nullptr, u"v", 0, REG_BINARY, data, 3); },
         ERROR_INVALID_HANDLE},
        {"set without data but a size",
         [&](HKEY*, DWORD*) { return RegSetValueExW(open, u"v", 0, REG_BINARY, nullptr, 3); },
         ERROR_INVALID_PARAMETER},
        {"set with too long a name",
         [&](HKEY*, DWORD*) {
             return RegSetValueExW(open, longValueName.c_str(), 0, REG_BINARY, data, 3);
         },
         ERROR_INVALID_PARAMETER},
        {"query on garbage",
         [&](HKEY*, DWORD* d) {
             return RegQueryValueExW(garbage, u"v", nullptr, d, nullptr, nullptr);
         },
         ERROR_INVALID_HANDLE},
        {"delete on closed", [&](HKEY*, DWORD*) { return RegDeleteValueW(closed, u"v"); },
         ERROR_INVALID_HANDLE},
        {"flush closed", [&](HKEY*, DWORD*) { return RegFlushKey(closed); }, ERROR_INVALID_HANDLE},
        {"flush null", [](HKEY*, DWORD*) { return RegFlushKey(nullptr); }, ERROR_INVALID_HANDLE},
        {"close twice", [&](HKEY*, DWORD*) { return RegCloseKey(closed); }, ERROR_INVALID_HANDLE},
        {"close garbage", [&](HKEY*, DWORD*) { return RegCloseKey(garbage); },
         ERROR_INVALID_HANDLE},
        {"close null", [](HKEY*, DWORD*) { return RegCloseKey(nullptr); }, ERROR_INVALID_HANDLE},
        {"close a root", [](HKEY*, DWORD*) { return RegCloseKey(HKEY_LOCAL_MACHINE); },
         ERROR_SUCCESS},
        {"flush a root", [](HKEY*, DWORD*) { return RegFlushKey(HKEY_LOCAL_MACHINE); },
         ERROR_SUCCESS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HKEY key = kMarkerKey;
        DWORD dword = kMarker;
        EXPECT_EQ(c.call(&key, &dword), c.result);
        EXPECT_EQ(key, kMarkerKey) << "out-parameter written";
        EXPECT_EQ(dword, c.result == ERROR_SUCCESS ? dword : kMarker) << "out-parameter written";
    }
    // Nothing was created or stored by the failed calls.
    auto keys = kx::listRegistry(u"HKEY_LOCAL_MACHINE");
    EXPECT_EQ(keys.size(), 4u) << "HKLM, Drivers, Closed, CS8900";
    for (const auto& k : keys) {
        EXPECT_TRUE(k.values.empty()) << kx::toUtf8(k.path);
    }
    RegCloseKey(open);
}

TEST(RegistryServices, HandlesBelongToTheirDevice) {
    kxtest::TempDevice first;
    HKEY key = create(HKEY_LOCAL_MACHINE, u"Drivers");
    kxtest::TempDevice second; // now current
    const BYTE one[] = {1};
    EXPECT_EQ(RegSetValueExW(key, u"v", 0, REG_BINARY, one, 1), ERROR_INVALID_HANDLE);
    first.makeCurrent();
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}

TEST(RegistryServices, MissingDeviceFolderIsAnErrorNotAFolder) {
    auto missing = std::filesystem::temp_directory_path() / "kx-reg-missing-device";
    std::filesystem::remove_all(missing);
    kx::setCurrentDevice(missing);
    HKEY key = kMarkerKey;
    DWORD disposition = kMarker;
    EXPECT_EQ(
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"a", 0, nullptr, 0, 0, nullptr, &key, &disposition),
        ERROR_CANTOPEN);
    EXPECT_EQ(key, kMarkerKey);
    EXPECT_EQ(disposition, kMarker);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

} // namespace
