// A program built without resources, and resources that cannot be read.
#include <gtest/gtest.h>

#include "compiled_resources.h"
#include "resources/resource_module.h"

namespace kx {
namespace {

TEST(ResourceModuleWithout, NoEmbeddedSectionMeansNoResources) {
    // This test program carries no resource section.
    const ResourceModule& module = ResourceModule::current();
    EXPECT_TRUE(module.empty());
    EXPECT_EQ(module.sectionError(), "");
    EXPECT_TRUE(module.symbols().empty());
    auto dialog = module.findDialog(102);
    ASSERT_FALSE(dialog.ok());
    EXPECT_EQ(dialog.error(), "no dialog template 102 among the resources");
    EXPECT_FALSE(module.findGroupIcon(128).ok());
    EXPECT_FALSE(module.findVersion().ok());
}

TEST(ResourceModuleWithout, MalformedFileIsTreatedAsAbsent) {
    std::vector<uint8_t> bytes = test::compiledResFile();
    bytes.resize(bytes.size() - 1);
    const ResourceModule module(bytes, "#define IDC_A 1\n");
    EXPECT_TRUE(module.empty());
    EXPECT_NE(module.sectionError().find("resource file:"), std::string::npos)
        << module.sectionError();
    EXPECT_FALSE(module.findDialog(102).ok());
    EXPECT_EQ(module.symbols().idOf("IDC_A"), 1) << "the names stay usable";
}

TEST(ResourceModuleWithout, BrokenResourceIsReportedAtLookup) {
    // A well-formed file whose icon group names an image it lacks, and whose
    // dialog data is cut short.
    test::Bytes b;
    b.u32(0).u32(32).ordinal(0).ordinal(0).u32(0).u16(0).u16(0).u32(0).u32(0);
    b.u32(20).u32(32).ordinal(14).ordinal(128).u32(0).u16(0).u16(0x412).u32(0).u32(0);
    b.u16(0).u16(1).u16(1).u8(16).u8(16).u8(0).u8(0).u16(1).u16(8).u32(100).u16(5).align4();
    b.u32(4).u32(32).ordinal(5).ordinal(102).u32(0).u16(0).u16(0x412).u32(0).u32(0);
    b.u32(0x90C800C0);
    const ResourceModule module(b.bytes(), "");
    ASSERT_TRUE(module.sectionError().empty()) << module.sectionError();

    auto icon = module.findGroupIcon(128);
    ASSERT_FALSE(icon.ok());
    EXPECT_EQ(icon.error(), "icon 128: its image type 3 id 5 is missing");
    auto dialog = module.findDialog(102);
    ASSERT_FALSE(dialog.ok());
    EXPECT_EQ(dialog.error().rfind("dialog 102: dialog template: ", 0), 0u) << dialog.error();
}

} // namespace
} // namespace kx
