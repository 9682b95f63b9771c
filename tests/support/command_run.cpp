#include "command_run.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace kxtest {

std::filesystem::path binDir() {
    const char* dir = std::getenv("KESTRIX_BIN_DIR");
    if (!dir || !*dir) {
        throw std::runtime_error("KESTRIX_BIN_DIR is not set; run the tests through ctest");
    }
    return dir;
}

std::string shellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::filesystem::path makeTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrix-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    return pattern;
}

CommandResult runCommand(const std::string& commandLine, const std::string& input) {
    std::filesystem::path scratch = makeTempFolder();
    writeFile(scratch / "in", input);
    std::string full = "(" + commandLine + ") <" + shellQuote((scratch / "in").string()) + " >" +
                       shellQuote((scratch / "out").string()) + " 2>" +
                       shellQuote((scratch / "err").string());
    int status = std::system(full.c_str());
    CommandResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(scratch / "out");
    result.err = readFile(scratch / "err");
    std::filesystem::remove_all(scratch);
    return result;
}

} // namespace kxtest
