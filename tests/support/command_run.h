// Test support: running the built executables as a user does, from a shell
// command line, with both output streams captured.
#pragma once

#include <filesystem>
#include <string>

namespace kxtest {

// The folder of the built executables (KESTRIX_BIN_DIR, set by ctest).
std::filesystem::path binDir();

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a command line through the shell with `input` on standard input.
CommandResult runCommand(const std::string& commandLine, const std::string& input = "");
// The text as one shell word.
std::string shellQuote(const std::string& text);

std::string readFile(const std::filesystem::path& path);
// Writes the bytes, making the file's folders first.
void writeFile(const std::filesystem::path& path, const std::string& bytes);
// A new empty folder below the system's temporary folder.
std::filesystem::path makeTempFolder();

} // namespace kxtest
