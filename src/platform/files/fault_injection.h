// Storage faults switched on from outside, so that tests and rehearsals can
// see what the program does when the storage fails after a file was opened.
//
// The environment variable KESTRIX_FAULTS holds a list of faults separated by
// ';', each "kind" or "kind:device path prefix". The prefix is a device path
// (backslashes or slashes, leading backslash optional, case ignored) that
// matches itself and everything below it; without a prefix the fault applies
// to every path. Kinds:
//   write-full     WriteFile writes nothing and fails with ERROR_DISK_FULL
//   write-short    WriteFile writes the first half of the bytes and succeeds
//   read-error     ReadFile reads nothing and fails with ERROR_READ_FAULT
//   write-protect  opening for writing, creating, deleting and moving fail
//                  with ERROR_ACCESS_DENIED, as on a write-protected card
// Example: KESTRIX_FAULTS="write-full:Storage Card;read-error:Windows\a.txt"
//
// The variable is read at every file operation, so it may change while a
// file is open. An entry that cannot be understood is reported once on
// standard error and ignored; it never breaks a file operation.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kx {

enum class FaultKind { WriteFull, WriteShort, ReadError, WriteProtect };

struct Fault {
    FaultKind kind;
    std::u16string prefix; // device form, no leading or trailing backslash
};

// The faults of a KESTRIX_FAULTS text. Entries that cannot be understood are
// described in problems and left out.
std::vector<Fault> parseFaults(std::string_view text, std::vector<std::string>* problems);

// Whether a fault of this kind applies to a device path (in the device form
// of ResolvedPath::devicePath), by the current KESTRIX_FAULTS.
bool faultApplies(FaultKind kind, std::u16string_view devicePath);

} // namespace kx
