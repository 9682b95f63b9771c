#include "resources/version_info.h"

#include <cstdio>
#include <string>

#include "common/utf.h"
#include "resources/byte_reader.h"

namespace kx {

namespace {

constexpr uint16_t kTextValue = 1;    // wType of a node whose value is text
constexpr size_t kNodeHeaderSize = 6; // wLength, wValueLength, wType
constexpr size_t kFixedInfoSize = 13 * 4;
constexpr int kMaxDepth = 4; // root, file info, table, string

// One block of the tree: its key, its value bytes and its children.
struct Node {
    std::u16string key;
    uint16_t type = 0;
    std::span<const uint8_t> value;
    std::vector<Node> children;
};

size_t align4(size_t offset) {
    return (offset + 3) & ~size_t{3};
}

// Reads the node at the reader's offset; on return the reader is at the end
// of the node (before any padding that follows it).
bool readNode(ByteReader& r, Node& node, size_t limit, int depth, const std::string& label) {
    const size_t start = r.offset();
    uint16_t length = 0, valueLength = 0;
    r.u16(length, label + " length");
    r.u16(valueLength, label + " value length");
    r.u16(node.type, label + " type");
    if (r.failed()) {
        return false;
    }
    if (length < kNodeHeaderSize || length > limit - start) {
        return r.failAt(start, label + " length " + std::to_string(length) +
                                   " does not fit in its block (" + std::to_string(limit - start) +
                                   " bytes)");
    }
    const size_t end = start + length;
    r.sz(node.key, label + " key");
    if (!r.failed() && r.offset() > end) {
        return r.failAt(start, label + " key runs past the end of the block");
    }
    const std::string name = label + " \"" + toUtf8(node.key) + "\"";
    const size_t valueStart = align4(r.offset());
    if (valueStart > end && valueLength > 0) {
        return r.failAt(r.offset(), name + " value lies past the end of the block");
    }
    if (valueLength > 0) {
        size_t valueBytes = node.type == kTextValue ? size_t{valueLength} * 2 : valueLength;
        if (node.type == kTextValue && valueStart + valueBytes > end) {
            // Some compilers count a text value in bytes, not characters; the
            // text then ends at the end of the block.
            valueBytes = end - valueStart;
        }
        if (valueStart + valueBytes > end) {
            return r.failAt(valueStart, name + " value of " + std::to_string(valueBytes) +
                                            " bytes runs past the end of the block");
        }
        r.seek(valueStart, name + " value");
        r.bytes(valueBytes, node.value, name + " value");
    }
    size_t next = align4(r.offset());
    while (!r.failed() && next + kNodeHeaderSize <= end) {
        if (depth + 1 >= kMaxDepth) {
            return r.failAt(next, name + " has blocks nested too deeply");
        }
        r.seek(next, name + " child");
        Node child;
        if (!readNode(r, child, end, depth + 1, name + " child")) {
            return false;
        }
        node.children.push_back(std::move(child));
        next = align4(r.offset());
    }
    // Fewer bytes than a block header may be left: padding, skipped.
    r.seek(end, name);
    return !r.failed();
}

std::u16string textOf(std::span<const uint8_t> bytes) {
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (c == 0) {
            break;
        }
        text.push_back(c);
    }
    return text;
}

uint32_t dwordAt(std::span<const uint8_t> bytes, size_t i) {
    return static_cast<uint32_t>(bytes[4 * i]) | (static_cast<uint32_t>(bytes[4 * i + 1]) << 8) |
           (static_cast<uint32_t>(bytes[4 * i + 2]) << 16) |
           (static_cast<uint32_t>(bytes[4 * i + 3]) << 24);
}

} // namespace

std::optional<std::u16string> VersionInfo::findString(std::u16string_view name,
                                                      std::u16string_view tableKey) const {
    for (const VersionStringTable& table : stringTables) {
        if (!tableKey.empty() && !equalsNoCase(table.key, tableKey)) {
            continue;
        }
        for (const auto& [key, value] : table.strings) {
            if (key == name) {
                return value;
            }
        }
    }
    return std::nullopt;
}

ParseResult<VersionInfo> parseVersionInfo(std::span<const uint8_t> data) {
    using Result = ParseResult<VersionInfo>;
    ByteReader r(data, "version resource");
    Node root;
    if (!readNode(r, root, data.size(), 0, "root block")) {
        return Result::failure(r.error());
    }
    if (root.key != u"VS_VERSION_INFO") {
        r.failAt(6, "root block key is \"" + toUtf8(root.key) + "\", not \"VS_VERSION_INFO\"");
        return Result::failure(r.error());
    }

    VersionInfo info;
    if (!root.value.empty()) {
        const size_t at = static_cast<size_t>(root.value.data() - data.data());
        if (root.value.size() != kFixedInfoSize) {
            r.failAt(at, "fixed file information is " + std::to_string(root.value.size()) +
                             " bytes, not 52");
            return Result::failure(r.error());
        }
        uint32_t f[13];
        for (size_t i = 0; i < 13; ++i) {
            f[i] = dwordAt(root.value, i);
        }
        if (f[0] != kFixedFileInfoSignature) {
            char text[16];
            std::snprintf(text, sizeof text, "0x%08X", f[0]);
            r.failAt(at, std::string("fixed file information has signature ") + text +
                             ", not 0xFEEF04BD");
            return Result::failure(r.error());
        }
        info.fixed = FixedFileInfo{f[0], f[1], f[2], f[3],  f[4],  f[5], f[6],
                                   f[7], f[8], f[9], f[10], f[11], f[12]};
    }

    for (const Node& block : root.children) {
        if (block.key == u"StringFileInfo") {
            for (const Node& tableNode : block.children) {
                VersionStringTable table{tableNode.key, {}};
                for (const Node& s : tableNode.children) {
                    table.strings.emplace_back(s.key, textOf(s.value));
                }
                info.stringTables.push_back(std::move(table));
            }
        } else if (block.key == u"VarFileInfo") {
            for (const Node& var : block.children) {
                if (var.key != u"Translation") {
                    continue;
                }
                if (var.value.size() % 4 != 0) {
                    r.failAt(static_cast<size_t>(var.value.data() - data.data()),
                             "translation value of " + std::to_string(var.value.size()) +
                                 " bytes is not a list of language and code page pairs");
                    return Result::failure(r.error());
                }
                for (size_t i = 0; i < var.value.size() / 4; ++i) {
                    const uint32_t pair = dwordAt(var.value, i);
                    info.translations.push_back(VersionTranslation{
                        static_cast<uint16_t>(pair & 0xFFFF), static_cast<uint16_t>(pair >> 16)});
                }
            }
        }
    }
    return Result::success(std::move(info));
}

} // namespace kx
