#include "platform/SmbSession.h"

#include <QElapsedTimer>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace {

// A library call that never comes back stands in for a hanging look-up or connect: the caller is free
// at the deadline, the server is left alone for a while, and another server is served meanwhile.
TEST(SmbSessionTest, ACallOverrunningTheDeadlineIsAbandonedWithoutHoldingOthers)
{
    const std::shared_ptr<SmbSession> stuck = SmbSession::forServer("stuck.invalid:1");
    ASSERT_TRUE(stuck);
    QElapsedTimer timer;
    timer.start();
    auto overrun = std::async(std::launch::async, [&] {
        int err = 0;
        const std::optional<int> result = stuck->call<int>([](SMBCCTX *) {
            std::this_thread::sleep_for(std::chrono::milliseconds(SmbSession::DeadlineMs + 3000));
            return 1;
        }, err);
        return std::pair{result, err};
    });
    int err = 0;
    const std::shared_ptr<SmbSession> other = SmbSession::forServer("other.invalid:2");
    EXPECT_EQ(other->call<int>([](SMBCCTX *) { return 7; }, err), 7);
    EXPECT_LT(timer.elapsed(), 1000) << "another server does not wait for the stuck one";
    EXPECT_EQ(overrun.get(), std::pair(std::optional<int>(), ETIMEDOUT)) << "no result, a time-out";
    EXPECT_LT(timer.elapsed(), SmbSession::DeadlineMs + 2000);
    EXPECT_TRUE(stuck->abandoned() && !stuck->call<int>([](SMBCCTX *) { return 1; }, err))
        << "an abandoned session takes no more calls";
    EXPECT_EQ(SmbSession::forServer("STUCK.invalid:1"), nullptr) << "the server is left alone for a while";
}

} // namespace
