// The text format of registry files as the desktop registry editor writes
// them ("Windows Registry Editor Version 5.00"): writing a listing of keys
// and reading a file back into a list of changes.
//
// Writing is lossless: text that is not exactly one terminated string (no
// terminator, an embedded null, a line break, an odd size) is written as
// hex(1) bytes, and a DWORD that is not 4 bytes as hex(4). Reading accepts
// UTF-16LE with a byte-order mark and UTF-8 with or without one. Neither
// side touches the registry itself.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "registry/registry_admin.h"

namespace kx {

// A file that cannot be read; the message names the line and the fault.
class RegFileError : public std::runtime_error {
public:
    RegFileError(int line, const std::string& what)
        : std::runtime_error("line " + std::to_string(line) + ": " + what), m_line(line) {}
    int line() const { return m_line; }

private:
    int m_line;
};

// The file's text, UTF-8, "\n" line ends. Throws RegistryError for a name
// that the format cannot carry (one holding a line break).
std::string formatRegFile(const std::vector<RegistryKey>& keys);

// The changes the file asks for, in file order. Throws RegFileError.
std::vector<RegistryChange> parseRegFile(std::string_view bytes);

} // namespace kx
