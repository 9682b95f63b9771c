#include <wcrt.h>

#include <cstdint>

namespace {

bool isSpace(WCHAR c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

int digitValue(WCHAR c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'z') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'Z') {
        return c - u'A' + 10;
    }
    return 99;
}

} // namespace

// unsigned long is 32 bits on the target, so the range and the wrap of a
// negated value are those of 32 bits here too.
unsigned long wcstoul(const WCHAR* nptr, WCHAR** endptr, int base) {
    const uint32_t kMax = 0xFFFFFFFFu;
    const WCHAR* p = nptr;
    if (endptr) {
        *endptr = const_cast<WCHAR*>(nptr);
    }
    if (!p || base < 0 || base == 1 || base > 36) {
        return 0;
    }
    while (isSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == u'+' || *p == u'-') {
        negative = *p == u'-';
        ++p;
    }
    if ((base == 0 || base == 16) && p[0] == u'0' && (p[1] == u'x' || p[1] == u'X') &&
        digitValue(p[2]) < 16) {
        p += 2;
        base = 16;
    } else if (base == 0) {
        base = p[0] == u'0' ? 8 : 10;
    }
    const WCHAR* first = p;
    uint64_t value = 0;
    bool overflow = false;
    for (; digitValue(*p) < base; ++p) {
        value = value * uint64_t(base) + uint64_t(digitValue(*p));
        if (value > kMax) {
            overflow = true;
            value = kMax;
        }
    }
    if (p == first) {
        return 0;
    }
    if (endptr) {
        *endptr = const_cast<WCHAR*>(p);
    }
    if (overflow) {
        return kMax;
    }
    uint32_t result = uint32_t(value);
    return negative ? uint32_t(0u - result) : result;
}

size_t wcslen(const WCHAR* s) {
    size_t n = 0;
    while (s && s[n]) {
        ++n;
    }
    return n;
}
