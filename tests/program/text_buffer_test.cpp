// The program's bounded copy into its fixed text buffers: a text of any
// length fits, cut if need be, and nothing is written past the buffer.
#include <gtest/gtest.h>

#include <vector>

#include "device/TextBuffer.h"

TEST(CopyTextToBuffer, NeverWritesPastTheBuffer) {
    struct Case {
        int bufferChars;
        int textChars;
        int copied;
    } cases[] = {{260, 20, 20},  {260, 259, 259},    {260, 260, 259}, {260, 5000, 259},
                 {1024, 17, 17}, {1024, 4000, 1023}, {1, 3, 0},       {0, 3, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bufferChars << " for " << c.textChars);
        const TCHAR kGuard = 0xBEEF;
        std::vector<TCHAR> memory(size_t(c.bufferChars) + 4, kGuard);
        CString text(u'7', c.textChars);
        EXPECT_EQ(CopyTextToBuffer(memory.data(), c.bufferChars, text), c.copied);
        if (c.bufferChars > 0) {
            EXPECT_EQ(memory[size_t(c.copied)], 0);
            EXPECT_EQ(std::u16string(memory.data()), std::u16string(size_t(c.copied), u'7'));
        }
        for (size_t i = size_t(c.bufferChars); i < memory.size(); ++i) {
            EXPECT_EQ(memory[i], kGuard) << "written past the buffer at " << i;
        }
    }
}
