// The running program's resources: the compiled resource file and the text
// of its resource header that the build embedded into the executable (see
// KestrixResources.cmake), with lookups by type and id and readers for the
// formats the window system needs.
//
// A program built without resources has none: every lookup says so. A
// resource section that cannot be read is reported once on standard error and
// treated as absent. Nothing here creates windows or icons; the window system
// builds those from the structures returned.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "resources/dialog_template.h"
#include "resources/icon_resource.h"
#include "resources/parse_result.h"
#include "resources/res_file.h"
#include "resources/resource_symbols.h"
#include "resources/version_info.h"

namespace kx {

class ResourceModule {
public:
    // No resources.
    ResourceModule() = default;
    // Resources read from a copy of a compiled resource file and the text of
    // a resource header. A file that cannot be read leaves the module empty
    // and its error in sectionError().
    ResourceModule(std::span<const uint8_t> resFile, std::string_view symbolsText);

    ResourceModule(ResourceModule&&) = default;
    ResourceModule& operator=(ResourceModule&&) = default;
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

    // The program's own resources, read on first use.
    static const ResourceModule& current();

    bool empty() const { return m_entries.empty(); }
    // Why the resource file was treated as absent; empty if it was not.
    const std::string& sectionError() const { return m_error; }
    const std::vector<ResEntry>& entries() const { return m_entries; }
    const ResourceSymbols& symbols() const { return m_symbols; }

    // The raw entry; language as in findResEntry().
    const ResEntry* find(uint16_t type, uint16_t id, uint16_t language = kLanguageNeutral) const;

    // RT_DIALOG id, read.
    ParseResult<DialogTemplate> findDialog(uint16_t id) const;
    // RT_GROUP_ICON id with every image it lists decoded.
    ParseResult<IconGroup> findGroupIcon(uint16_t id) const;
    // RT_VERSION 1, read.
    ParseResult<VersionInfo> findVersion() const;

private:
    std::vector<uint8_t> m_bytes;
    std::vector<ResEntry> m_entries; // refer into m_bytes
    ResourceSymbols m_symbols;
    std::string m_error;
};

} // namespace kx
