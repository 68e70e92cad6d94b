// One running copy per program folder: the name is the folder's whatever its spelling, the first copy
// claims it and publishes its window, a later one asks that window to come up, and a copy that is gone
// leaves nothing behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>

#include "platform/SingleInstance.h"
#include "platform/windows/ShowRequest.h"

namespace {
// Whether the show request has been posted to window (taking it off the queue).
bool ShowRequestArrived(HWND window) {
    MSG message{};
    const UINT show = plat::win::ShowRequestMessage();
    return ::PeekMessageA(&message, window, show, show, PM_REMOVE) != FALSE;
}
}  // namespace

TEST(SingleInstance, NameDependsOnTheFolderNotItsSpelling) {
    using plat::SingleInstance;
    const std::string name = SingleInstance::KeyFor("C:\\Programs\\Chimewick");
    EXPECT_EQ(name.rfind("Local\\Chimewick-", 0), 0u) << name;
    EXPECT_EQ(name.size(), std::string("Local\\Chimewick-").size() + 16);
    EXPECT_EQ(SingleInstance::KeyFor("c:\\programs\\CHIMEWICK\\"), name);
    EXPECT_EQ(SingleInstance::KeyFor("C:/Programs/Chimewick"), name);
    EXPECT_EQ(SingleInstance::KeyFor("C:\\Programs\\Other\\..\\Chimewick"), name);
    EXPECT_NE(SingleInstance::KeyFor("C:\\Programs\\Chimewick2"), name);
    EXPECT_NE(SingleInstance::KeyFor("D:\\Programs\\Chimewick"), name);
}

TEST(SingleInstance, SecondClaimAsksTheFirstCopysWindow) {
    using plat::SingleInstance;
    const std::string folder = "C:\\chimewick-test-" + std::to_string(::GetCurrentProcessId());
    HWND window = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    {
        SingleInstance first(folder);
        ASSERT_EQ(first.TryClaim(), SingleInstance::Claim::First);
        SingleInstance second(folder);
        EXPECT_EQ(second.TryClaim(), SingleInstance::Claim::AlreadyRuns);
        // Not yet published: the wait ends empty-handed.
        EXPECT_FALSE(second.AskRunningCopyToShow(0));
        EXPECT_FALSE(ShowRequestArrived(window));
        first.PublishWindow(reinterpret_cast<std::uintptr_t>(window));
        EXPECT_TRUE(second.AskRunningCopyToShow(1000));
        EXPECT_TRUE(ShowRequestArrived(window));
        // Another folder is another copy.
        SingleInstance other(folder + "-other");
        EXPECT_EQ(other.TryClaim(), SingleInstance::Claim::First);
    }
    // The first copy has gone (its handles closed, as when a process ends): the folder is free again.
    SingleInstance again(folder);
    EXPECT_EQ(again.TryClaim(), SingleInstance::Claim::First);
    ::DestroyWindow(window);
}

TEST(SingleInstance, WindowThatIsGoneIsNotAsked) {
    using plat::SingleInstance;
    const std::string folder = "C:\\chimewick-gone-" + std::to_string(::GetCurrentProcessId());
    SingleInstance first(folder);
    ASSERT_EQ(first.TryClaim(), SingleInstance::Claim::First);
    HWND window = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    first.PublishWindow(reinterpret_cast<std::uintptr_t>(window));
    ::DestroyWindow(window);
    SingleInstance second(folder);
    EXPECT_EQ(second.TryClaim(), SingleInstance::Claim::AlreadyRuns);
    EXPECT_FALSE(second.AskRunningCopyToShow(100));
}
