// One running copy per folder, without a toolkit: the lock held by a process that was killed does not
// count, and a later start's request reaches the running copy through the descriptor it watches.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>

#include "platform/SingleInstance.h"

namespace {

class SingleInstanceLinux : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/chimewick-si-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        runtime_ = root_ + "/run";
        folder_ = root_ + "/Ini";
        std::filesystem::create_directory(runtime_);
        std::filesystem::permissions(runtime_, std::filesystem::perms::owner_all);
        std::filesystem::create_directory(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    std::string root_, runtime_, folder_;
};

TEST_F(SingleInstanceLinux, CopyThatWasKilledLeavesNothingThatBlocks) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        plat::SingleInstance first(folder_, runtime_);
        const char claimed = first.TryClaim() == plat::SingleInstance::Claim::First ? '1' : '0';
        (void)!::write(ready[1], &claimed, 1);
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char claimed = 0;
    ASSERT_EQ(::read(ready[0], &claimed, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(claimed, '1');
    {
        plat::SingleInstance second(folder_, runtime_);
        EXPECT_EQ(second.TryClaim(), plat::SingleInstance::Claim::AlreadyRuns);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    // Its lock file and socket file are still there; neither keeps the next copy from running and
    // answering.
    plat::SingleInstance next(folder_, runtime_);
    ASSERT_EQ(next.TryClaim(), plat::SingleInstance::Claim::First);
    auto asked = std::async(std::launch::async, [this] {
        return plat::SingleInstance(folder_, runtime_).AskRunningCopyToShow(5000);
    });
    pollfd knock{next.RequestDescriptor(), POLLIN, 0};
    ASSERT_GE(knock.fd, 0);
    ASSERT_EQ(::poll(&knock, 1, 5000), 1);
    EXPECT_TRUE(next.TakeShowRequests());
    EXPECT_TRUE(asked.get());
}

TEST_F(SingleInstanceLinux, LaterStartWithoutRunningCopyIsNotAnswered) {
    plat::SingleInstance alone(folder_, runtime_);
    EXPECT_FALSE(alone.AskRunningCopyToShow(0));
    EXPECT_EQ(alone.RequestDescriptor(), -1);
    EXPECT_FALSE(alone.TakeShowRequests());
}

}  // namespace
