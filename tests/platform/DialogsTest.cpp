// What a message box is given: long unbroken runs broken so the box stays narrower than the screen.
#include <gtest/gtest.h>

#include <string>

#include "platform/Dialogs.h"

namespace {

TEST(MessageBoxText, LongRunsAreBrokenBetweenCharacters) {
    const std::string guo = "\xb9\xfa";  // one GBK character
    std::string chinese150;
    for (int i = 0; i < 150; ++i) chinese150 += guo;
    std::string chinese100;
    for (int i = 0; i < 100; ++i) chinese100 += guo;
    const std::string x100(100, 'x');
    struct Case {
        std::string text, shown;
    } cases[] = {
        {"'abc' is not a valid integer value", "'abc' is not a valid integer value"},
        {x100, x100},
        {"'" + std::string(250, 'x') + "' bad",
         "'" + std::string(99, 'x') + "\n" + x100 + "\n" + std::string(51, 'x') + "' bad"},
        {x100 + " " + x100 + "\n" + x100, x100 + " " + x100 + "\n" + x100},
        {chinese150, chinese100 + "\n" + chinese150.substr(200)},
        {"a" + std::string(1, '\x81'), "a" + std::string(1, '\x81')},
    };
    for (const Case& c : cases) {
        std::string seen;
        plat::SetMessageBoxHook([&](const AnsiString& text, const AnsiString&, plat::TBoxKind) {
            seen = text;
            return plat::BoxOk;
        });
        plat::ShowMessageBox(c.text, "Chimewick", plat::TBoxKind::Notice);
        plat::SetMessageBoxHook({});
        EXPECT_TRUE(seen == c.shown) << c.text.substr(0, 40) << " gave " << seen.size() << " bytes";
    }
}

}  // namespace
