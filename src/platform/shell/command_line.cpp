#include "shell/command_line.h"

#include "common/utf.h"

namespace kx {

std::vector<std::string> splitParameters(std::u16string_view parameters) {
    std::vector<std::string> arguments;
    std::u16string current;
    bool inArgument = false;
    bool quoted = false;
    for (char16_t c : parameters) {
        if (c == u'"') {
            quoted = !quoted;
            inArgument = true;
        } else if (!quoted && (c == u' ' || c == u'\t')) {
            if (inArgument) {
                arguments.push_back(toUtf8(current));
                current.clear();
                inArgument = false;
            }
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument) {
        arguments.push_back(toUtf8(current));
    }
    return arguments;
}

} // namespace kx
