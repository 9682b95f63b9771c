#include "files/fault_injection.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "common/utf.h"

namespace kx {

namespace {

struct KindName {
    const char* name;
    FaultKind kind;
};
constexpr KindName kKinds[] = {
    {"write-full", FaultKind::WriteFull},
    {"write-short", FaultKind::WriteShort},
    {"read-error", FaultKind::ReadError},
    {"write-protect", FaultKind::WriteProtect},
};

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

// "\Storage Card/" -> "Storage Card": the device form without outer
// separators and with backslashes only.
std::u16string devicePrefix(std::string_view text) {
    std::u16string prefix;
    for (char16_t c : fromUtf8(text)) {
        bool separator = c == u'\\' || c == u'/';
        if (separator && (prefix.empty() || prefix.back() == u'\\')) {
            continue;
        }
        prefix += separator ? u'\\' : c;
    }
    if (!prefix.empty() && prefix.back() == u'\\') {
        prefix.pop_back();
    }
    return prefix;
}

bool prefixMatches(std::u16string_view prefix, std::u16string_view path) {
    if (prefix.empty()) {
        return true;
    }
    if (path.size() < prefix.size() || !equalsNoCase(path.substr(0, prefix.size()), prefix)) {
        return false;
    }
    return path.size() == prefix.size() || path[prefix.size()] == u'\\';
}

// The parsed form of the variable, kept until its text changes, so that a
// bad entry is reported once and not at every operation.
struct Cache {
    std::mutex mutex;
    std::string text;
    std::vector<Fault> faults;
    bool valid = false;
};

Cache& cache() {
    static Cache c;
    return c;
}

} // namespace

std::vector<Fault> parseFaults(std::string_view text, std::vector<std::string>* problems) {
    std::vector<Fault> faults;
    while (!text.empty()) {
        size_t cut = text.find(';');
        std::string_view entry = trim(text.substr(0, cut));
        text = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
        if (entry.empty()) {
            continue;
        }
        size_t colon = entry.find(':');
        std::string_view kindName = trim(entry.substr(0, colon));
        std::string_view path =
            colon == std::string_view::npos ? std::string_view() : trim(entry.substr(colon + 1));
        bool known = false;
        for (const KindName& k : kKinds) {
            if (kindName == k.name) {
                faults.push_back(Fault{k.kind, devicePrefix(path)});
                known = true;
            }
        }
        if (!known && problems) {
            problems->push_back("unknown fault \"" + std::string(kindName) +
                                "\" (known: write-full, write-short, read-error, write-protect)");
        }
    }
    return faults;
}

bool faultApplies(FaultKind kind, std::u16string_view devicePath) {
    const char* env = std::getenv("KESTRIX_FAULTS");
    if (!env || !*env) {
        return false;
    }
    Cache& c = cache();
    std::lock_guard<std::mutex> lock(c.mutex);
    if (!c.valid || c.text != env) {
        std::vector<std::string> problems;
        c.faults = parseFaults(env, &problems);
        c.text = env;
        c.valid = true;
        for (const std::string& problem : problems) {
            std::fprintf(stderr, "kestrix: KESTRIX_FAULTS: %s; ignored\n", problem.c_str());
        }
    }
    for (const Fault& fault : c.faults) {
        if (fault.kind == kind && prefixMatches(fault.prefix, devicePath)) {
            return true;
        }
    }
    return false;
}

} // namespace kx
