// Reads the command language of scripted runs, one command a line:
//   click CONTROL        a tap on a control (an IDC_ name or a numeric id)
//   command IDOK|IDCANCEL|N   a command to the dialog, as its caption buttons send
//   tick [N]             N periods of 300 ms pass (default 1)
//   dump                 print the dialog's state
//   screenshot FILE.png  save what the window shows (window backend only)
// Blank lines and lines starting with '#' are skipped. Malformed lines come
// back as Invalid commands with a reason, so the run can report and go on.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>

namespace kx {

struct ScriptCommand {
    enum class Kind { Click, Command, Tick, Dump, Screenshot, Invalid };
    Kind kind = Kind::Invalid;
    std::string argument; // control, command or file
    uint32_t count = 1;   // tick periods
    int line = 0;
    std::string error; // for Invalid
};

inline constexpr uint32_t kTickPeriodMs = 300;
inline constexpr uint32_t kMaxTicks = 1000000;

class ScriptReader {
public:
    explicit ScriptReader(std::istream& in) : m_in(in) {}
    // The next command, or nothing at the end of the input.
    std::optional<ScriptCommand> next();

    static ScriptCommand parse(const std::string& text, int line);

private:
    std::istream& m_in;
    int m_line = 0;
};

} // namespace kx
