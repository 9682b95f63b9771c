#include "resources/resource_module.h"

#include <cstddef>
#include <cstdio>
#include <string>

// The resource section that the build embeds into the program (generated
// from the compiled resource file). Weak, so that a program or a test built
// without resources still links and simply has none.
extern "C" {
__attribute__((weak)) extern const unsigned char kx_resource_section[];
__attribute__((weak)) extern const size_t kx_resource_section_size;
__attribute__((weak)) extern const char kx_resource_symbols[];
}

namespace kx {

namespace {

std::string idText(uint16_t type, uint16_t id) {
    return "type " + std::to_string(type) + " id " + std::to_string(id);
}

} // namespace

ResourceModule::ResourceModule(std::span<const uint8_t> resFile, std::string_view symbolsText)
    : m_bytes(resFile.begin(), resFile.end()), m_symbols(ResourceSymbols::parse(symbolsText)) {
    auto parsed = parseResFile(m_bytes);
    if (!parsed) {
        m_error = parsed.error();
        m_bytes.clear();
        return;
    }
    m_entries = std::move(parsed.value());
}

const ResourceModule& ResourceModule::current() {
    static const ResourceModule module = [] {
        if (kx_resource_section == nullptr || &kx_resource_section_size == nullptr) {
            return ResourceModule();
        }
        const std::string_view symbols =
            kx_resource_symbols != nullptr ? std::string_view(kx_resource_symbols) : "";
        ResourceModule m(std::span<const uint8_t>(kx_resource_section, kx_resource_section_size),
                         symbols);
        if (!m.sectionError().empty()) {
            std::fprintf(stderr,
                         "kestrix: the program's resources cannot be read (%s); it runs "
                         "without them\n",
                         m.sectionError().c_str());
        }
        return m;
    }();
    return module;
}

const ResEntry* ResourceModule::find(uint16_t type, uint16_t id, uint16_t language) const {
    return findResEntry(m_entries, type, id, language);
}

ParseResult<DialogTemplate> ResourceModule::findDialog(uint16_t id) const {
    const ResEntry* e = find(kResourceTypeDialog, id);
    if (!e) {
        return ParseResult<DialogTemplate>::failure("no dialog template " + std::to_string(id) +
                                                    " among the resources");
    }
    auto parsed = parseDialogTemplate(e->data);
    if (!parsed) {
        return ParseResult<DialogTemplate>::failure("dialog " + std::to_string(id) + ": " +
                                                    parsed.error());
    }
    return parsed;
}

ParseResult<IconGroup> ResourceModule::findGroupIcon(uint16_t id) const {
    using Result = ParseResult<IconGroup>;
    const ResEntry* e = find(kResourceTypeGroupIcon, id);
    if (!e) {
        return Result::failure("no icon " + std::to_string(id) + " among the resources");
    }
    const std::string label = "icon " + std::to_string(id) + ": ";
    auto dir = parseGroupIconDirectory(e->data);
    if (!dir) {
        return Result::failure(label + dir.error());
    }
    if (dir->type != 1) {
        return Result::failure(label + "the group is a cursor, not an icon");
    }
    IconGroup group;
    for (const GroupIconEntry& entry : dir->entries) {
        const ResEntry* imageEntry = find(kResourceTypeIcon, entry.id, e->language);
        if (!imageEntry) {
            return Result::failure(label + "its image " + idText(kResourceTypeIcon, entry.id) +
                                   " is missing");
        }
        auto image = decodeIconImage(imageEntry->data);
        if (!image) {
            return Result::failure(label + "image " + std::to_string(entry.id) + ": " +
                                   image.error());
        }
        image.value().id = entry.id;
        group.images.push_back(std::move(image.value()));
    }
    return Result::success(std::move(group));
}

ParseResult<VersionInfo> ResourceModule::findVersion() const {
    const ResEntry* e = find(kResourceTypeVersion, 1);
    if (!e) {
        return ParseResult<VersionInfo>::failure("no version resource among the resources");
    }
    return parseVersionInfo(e->data);
}

} // namespace kx
