// The program's resources as the program carries them: embedded by the build
// and found through ResourceModule::current().
#include <gtest/gtest.h>

#include "resources/resource_module.h"

namespace kx {
namespace {

TEST(ResourceModule, EmbeddedSectionIsTheProgramsResources) {
    const ResourceModule& module = ResourceModule::current();
    ASSERT_EQ(module.sectionError(), "");
    ASSERT_FALSE(module.empty());

    auto dialog = module.findDialog(102);
    ASSERT_TRUE(dialog.ok()) << dialog.error();
    EXPECT_EQ(dialog->title, u"Kestrix");
    EXPECT_EQ(dialog->items.size(), 28u);

    auto icon = module.findGroupIcon(128);
    ASSERT_TRUE(icon.ok()) << icon.error();
    ASSERT_EQ(icon->images.size(), 9u);
    EXPECT_EQ(icon->images[0].id, 1);
    EXPECT_EQ(icon->images[8].id, 9);
    const IconImage* small = icon->bestFor(16);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->width, 16);
    EXPECT_EQ(small->bitCount, 24);

    auto version = module.findVersion();
    ASSERT_TRUE(version.ok()) << version.error();
    EXPECT_EQ(version->findString(u"OriginalFilename"), u"Kestrix.exe");

    EXPECT_FALSE(module.findDialog(103).ok());
    EXPECT_FALSE(module.findGroupIcon(1).ok()) << "1 is an image, not a group";
}

TEST(ResourceModule, EmbeddedSymbolsNameTheControls) {
    const ResourceSymbols& symbols = ResourceModule::current().symbols();
    EXPECT_EQ(symbols.idOf("IDC_SAVE"), 1028);
    EXPECT_EQ(symbols.idOf("IDD_MAIN_DIALOG"), 102);
    EXPECT_EQ(symbols.nameOf(1000), "IDC_DIGIT1");
    EXPECT_EQ(symbols.nameOf(128, "IDR_"), "IDR_MAINFRAME");

    // Every control of the dialog has a name.
    auto dialog = ResourceModule::current().findDialog(102);
    ASSERT_TRUE(dialog.ok()) << dialog.error();
    for (const DialogItem& item : dialog->items) {
        EXPECT_TRUE(symbols.nameOf(item.controlId()).has_value()) << item.controlId();
    }
}

} // namespace
} // namespace kx
