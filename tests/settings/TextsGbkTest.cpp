// The cache of GBK texts: converted once, looked up by content, references that stay valid.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/uStrings.h"

namespace {

TEST(TextsGbk, ConvertsUtf8LiteralsToGbk) {
    EXPECT_EQ(Texts::Gbk("上午"), "\xC9\xCF\xCE\xE7");
    EXPECT_EQ(Texts::Gbk("系统提示"), "\xCF\xB5\xCD\xB3\xCC\xE1\xCA\xBE");
    EXPECT_EQ(Texts::Gbk("是否开机启动?"), "\xCA\xC7\xB7\xF1\xBF\xAA\xBB\xFA\xC6\xF4\xB6\xAF?");
    EXPECT_EQ(Texts::Gbk(""), "");
}

TEST(TextsGbk, KeysByTheTextNotByThePointer) {
    char buffer[32];
    std::strcpy(buffer, "星期日");
    const AnsiString& first = Texts::Gbk(buffer);
    EXPECT_EQ(&first, &Texts::Gbk("星期日"));

    // Reusing the buffer for another text gives that text, and the first result is untouched.
    std::strcpy(buffer, "星期一");
    const AnsiString& second = Texts::Gbk(buffer);
    EXPECT_NE(&first, &second);
    EXPECT_EQ(first, "\xD0\xC7\xC6\xDA\xC8\xD5");
    EXPECT_EQ(second, "\xD0\xC7\xC6\xDA\xD2\xBB");
}

TEST(TextsGbk, ReferencesStayValidWhileManyTextsAreAdded) {
    const AnsiString& kept = Texts::Gbk("播报时间：");
    const AnsiString copy = kept;
    for (int i = 0; i < 2000; ++i) Texts::Gbk(("text " + std::to_string(i)).c_str());
    EXPECT_EQ(kept, copy);
    EXPECT_EQ(&kept, &Texts::Gbk("播报时间："));
}

}  // namespace
