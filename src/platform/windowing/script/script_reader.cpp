#include "windowing/script/script_reader.h"

#include <sstream>
#include <vector>

namespace kx {

namespace {

constexpr size_t kMaxLineLength = 4096;

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        out.push_back(word);
    }
    return out;
}

bool parseCount(const std::string& text, uint32_t& out) {
    if (text.empty() || text.size() > 7) {
        return false;
    }
    uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + uint32_t(c - '0');
    }
    if (value == 0 || value > kMaxTicks) {
        return false;
    }
    out = value;
    return true;
}

} // namespace

ScriptCommand ScriptReader::parse(const std::string& text, int line) {
    ScriptCommand cmd;
    cmd.line = line;
    auto invalid = [&](std::string why) {
        cmd.kind = ScriptCommand::Kind::Invalid;
        cmd.error = std::move(why);
        return cmd;
    };
    if (text.size() > kMaxLineLength) {
        return invalid("line is longer than 4096 characters");
    }
    if (text.find('\0') != std::string::npos) {
        return invalid("line contains a NUL character");
    }
    std::vector<std::string> w = words(text);
    if (w.empty()) {
        return invalid("empty command");
    }
    const std::string& verb = w[0];
    if (verb == "click" || verb == "command") {
        if (w.size() != 2) {
            return invalid(verb + " takes one argument: " +
                           (verb == "click" ? "a control name or id" : "IDOK, IDCANCEL or an id"));
        }
        cmd.kind = verb == "click" ? ScriptCommand::Kind::Click : ScriptCommand::Kind::Command;
        cmd.argument = w[1];
        return cmd;
    }
    if (verb == "tick") {
        if (w.size() > 2) {
            return invalid("tick takes at most one argument: the number of periods");
        }
        cmd.kind = ScriptCommand::Kind::Tick;
        if (w.size() == 2 && !parseCount(w[1], cmd.count)) {
            return invalid("tick count must be a whole number from 1 to 1000000, not '" + w[1] +
                           "'");
        }
        return cmd;
    }
    if (verb == "dump") {
        if (w.size() != 1) {
            return invalid("dump takes no argument");
        }
        cmd.kind = ScriptCommand::Kind::Dump;
        return cmd;
    }
    if (verb == "screenshot") {
        // The file name is the rest of the line, so it may contain blanks.
        std::string rest = text.substr(text.find("screenshot") + 10);
        size_t first = rest.find_first_not_of(" \t");
        size_t last = rest.find_last_not_of(" \t\r");
        if (first == std::string::npos) {
            return invalid("screenshot takes a file name");
        }
        cmd.kind = ScriptCommand::Kind::Screenshot;
        cmd.argument = rest.substr(first, last - first + 1);
        return cmd;
    }
    return invalid("unknown command '" + verb +
                   "' (expected click, command, tick, dump or screenshot)");
}

std::optional<ScriptCommand> ScriptReader::next() {
    std::string text;
    while (true) {
        text.clear();
        if (!std::getline(m_in, text)) {
            return std::nullopt;
        }
        ++m_line;
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos || text[first] == '#') {
            continue;
        }
        return parse(text, m_line);
    }
}

} // namespace kx
