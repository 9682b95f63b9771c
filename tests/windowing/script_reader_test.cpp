#include <gtest/gtest.h>

#include "windowing/script/script_reader.h"

using kx::ScriptCommand;
using Kind = kx::ScriptCommand::Kind;

TEST(ScriptReader, ParsesEachCommandAndExplainsBadLines) {
    struct Case {
        const char* line;
        Kind kind;
        const char* argument;
        uint32_t count;
    } cases[] = {
        {"click IDC_SAVE", Kind::Click, "IDC_SAVE", 1},
        {"  click   1028  ", Kind::Click, "1028", 1},
        {"command IDOK", Kind::Command, "IDOK", 1},
        {"tick", Kind::Tick, "", 1},
        {"tick 25", Kind::Tick, "", 25},
        {"tick 1000000", Kind::Tick, "", 1000000},
        {"dump", Kind::Dump, "", 1},
        {"screenshot out dir/a b.png ", Kind::Screenshot, "out dir/a b.png", 1},
        {"tick 0", Kind::Invalid, "", 1},
        {"tick 1000001", Kind::Invalid, "", 1},
        {"tick -1", Kind::Invalid, "", 1},
        {"tick 99999999999999999999", Kind::Invalid, "", 1},
        {"click", Kind::Invalid, "", 1},
        {"click a b", Kind::Invalid, "", 1},
        {"dump now", Kind::Invalid, "", 1},
        {"screenshot", Kind::Invalid, "", 1},
        {"Click IDC_SAVE", Kind::Invalid, "", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ScriptCommand cmd = kx::ScriptReader::parse(c.line, 3);
        EXPECT_EQ(cmd.kind, c.kind);
        EXPECT_EQ(cmd.line, 3);
        if (c.kind == Kind::Invalid) {
            EXPECT_FALSE(cmd.error.empty());
        } else {
            EXPECT_EQ(cmd.argument, c.argument);
            EXPECT_EQ(cmd.count, c.count);
        }
    }
}

TEST(ScriptReader, SkipsBlankAndCommentLinesAndCountsEveryLine) {
    std::istringstream in("# header\n\n   \ndump\r\n\t# note\nclick 1000\nlast-without-newline");
    kx::ScriptReader reader(in);
    auto first = reader.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->kind, Kind::Dump);
    EXPECT_EQ(first->line, 4);
    auto second = reader.next();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->line, 6);
    auto third = reader.next();
    ASSERT_TRUE(third);
    EXPECT_EQ(third->kind, Kind::Invalid);
    EXPECT_EQ(third->line, 7);
    EXPECT_FALSE(reader.next());
}

TEST(ScriptReader, NulBytesAndHugeLinesAreRefusedNotRead) {
    EXPECT_EQ(kx::ScriptReader::parse(std::string("dump\0x", 6), 1).kind, Kind::Invalid);
    EXPECT_EQ(kx::ScriptReader::parse("click " + std::string(10000, 'A'), 1).kind, Kind::Invalid);
}
