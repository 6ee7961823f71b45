#include "core/store/CodePage.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage, EveryByteReadsBackAsTheSameByte)
{
    const CodePage& cp = CodePage::windows1252();
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t c = cp.decode(static_cast<unsigned char>(byte));
        EXPECT_TRUE(cp.canEncode(c));
        EXPECT_EQ(cp.encode(c), byte) << "byte " << byte;
    }
}

TEST(CodePage, TheDefinedAndTheUndefinedHighBytesDecodeAsWindowsWrites)
{
    const CodePage& cp = CodePage::windows1252();
    EXPECT_EQ(cp.decode(0x80), u'\u20AC');
    EXPECT_EQ(cp.decode(0x9F), u'\u0178');
    EXPECT_EQ(cp.decode(0xE4), u'\u00E4');
    for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(cp.decode(undefined), char16_t(undefined));
}

TEST(CodePage, UnrepresentableCharactersBecomeOneQuestionMarkEach)
{
    const CodePage& cp = CodePage::windows1252();
    EXPECT_EQ(cp.encode(u'\u0080'), '?') << "U+0080 has no byte: 0x80 is the euro sign";
    EXPECT_EQ(cp.encode(u'\u4E2D'), '?');
    EXPECT_EQ(cp.fitted(u"a\u4E2Db\U0001F600c\u20AC"), u"a?b?c\u20AC");
    EXPECT_EQ(cp.fitted(u"\xD800x"), u"?x") << "a lone surrogate is one character";
}

} // namespace
