// Whole-registry operations of the current device, for the registry-saving
// program and the device tool: save, restart, listing for export, import,
// and the first save of a new device. Each operation is one transaction, so
// another process sees it whole or not at all.
//
// Failures throw RegistryError with a message for the user. It does not read
// or write the text format of registry files (see reg_file.h).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registry/registry_tree.h"

namespace kx {

// Makes the device folder current for the registry, after checking that it
// is a laid-out device; throws RegistryError saying what is missing, so that
// no registry is ever created in a stray folder.
void selectDevice(const std::filesystem::path& folder);

// One run of the registry-saving program (or another save).
struct SaveRun {
    int64_t id = 0;
    std::string time; // UTC, "2024-05-01T12:00:00.123Z"
    int64_t pid = 0;
    std::string program; // who saved, e.g. "SaveRegs.exe"
};

// Makes the live registry the saved one and records the run, atomically,
// then forces it to disk.
SaveRun saveRegistry(const std::string& program);
// The saves so far, oldest first.
std::vector<SaveRun> saveRuns();

// What a restart of the device does to the registry: the live registry
// becomes the last saved one (empty when it was never saved). Returns that
// save, or nothing when there was none.
std::optional<SaveRun> restartRegistry();

// The live registry, parents before subkeys. With a full key path
// ("HKEY_LOCAL_MACHINE\Comm", or HKLM\Comm), that key and its subkeys;
// throws RegistryError(ERROR_FILE_NOT_FOUND) when it is missing. The whole
// registry leaves out the four roots unless they hold values.
std::vector<RegistryKey> listRegistry(std::u16string_view keyPath = {});

// One change read from a registry file; `line` is where it stands there.
struct RegistryChange {
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    std::u16string keyPath; // full path
    RegistryValue value;    // name for SetValue/DeleteValue, type and data for SetValue
    int line = 0;
};

enum class ImportMode {
    Merge,   // changes are applied to the live registry as it is
    Replace, // the live registry is emptied first
};

// Applies the changes to the live registry in one transaction: all or
// nothing. Deleting a key or value that is missing is not an error.
void importRegistry(const std::vector<RegistryChange>& changes, ImportMode mode);

// For a new device: creates the keys (full paths) in the live registry and
// saves it once, recorded under `program`.
void initRegistry(const std::vector<std::u16string>& keyPaths, const std::string& program);

} // namespace kx
