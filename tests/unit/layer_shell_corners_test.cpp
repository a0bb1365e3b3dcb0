// The corner surfaces' choice of output, and the end of their connection to
// a compositor that goes away.

#include "platform/linux/process/unique_fd.h"
#include "platform/linux/wayland/corner_output.h"
#include "platform/linux/wayland/wayland_connection.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>

#include <wayland-client.h>

#include <gtest/gtest.h>

#include <sys/socket.h>

#include <string>
#include <vector>

namespace platform::wayland {
namespace {

using Places = std::vector<OutputPlace>;

TEST(CornerOutput, IsTheOneAtTheOriginWhereverItWasAnnounced)
{
    EXPECT_EQ(PickCornerOutput(Places{{1920, 0, true}, {0, 0, true}, {-1280, 0, true}}), 1u);
}

TEST(CornerOutput, IsTheFirstAnnouncedWhenNoneIsAtTheOrigin)
{
    EXPECT_EQ(PickCornerOutput(Places{{1920, 0, true}, {-1280, 0, true}}), 0u);
    EXPECT_EQ(PickCornerOutput(Places{{0, 0, false}, {1920, 0, true}, {0, 1080, true}}), 1u);
}

TEST(CornerOutput, IsNoneUntilAnOutputIsDescribed)
{
    // An output the compositor has not yet described is not at the origin
    // for all its place's zeros.
    EXPECT_EQ(PickCornerOutput(Places{{0, 0, false}, {1920, 0, true}}), 1u);
    EXPECT_EQ(PickCornerOutput(Places{{0, 0, false}}), std::nullopt);
    EXPECT_EQ(PickCornerOutput(Places{}), std::nullopt);
}

class CompositorGoing : public testing::Test {
protected:
    void SetUp() override
    {
        int ends[2] = {-1, -1};
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
        compositorEnd_.Reset(ends[1]);
        connection_ = std::make_unique<WaylandConnection>(Owned<wl_display>(wl_display_connect_to_fd(ends[0])));
        ASSERT_NE(connection_->Display(), nullptr);
    }

    // Serves the event loop for a while, as the program's loop would.
    void RunLoop(int milliseconds)
    {
        const QDeadlineTimer deadline(milliseconds);
        while (!deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }

    int argc_ = 1;
    char name_[16] = "corner_tests";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication application_{argc_, argv_};
    UniqueFd compositorEnd_;
    std::unique_ptr<WaylandConnection> connection_;
};

TEST_F(CompositorGoing, IsSaidOnceAndThenTheLoopSleeps)
{
    std::vector<std::string> reasons;
    connection_->Serve([&reasons](const std::string& reason) { reasons.push_back(reason); });
    compositorEnd_.Reset();
    RunLoop(200);
    EXPECT_EQ(reasons, std::vector<std::string>{"the compositor closed the connection"});
    EXPECT_TRUE(connection_->IsLost());
    // The closed socket would be readable for ever: nothing may watch it.
    EXPECT_FALSE(QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents));
}

TEST_F(CompositorGoing, WhileRequestsWaitEndsTheConnectionToo)
{
    std::vector<std::string> reasons;
    connection_->Serve([&reasons](const std::string& reason) { reasons.push_back(reason); });
    compositorEnd_.Reset();
    const Owned<wl_callback> sync(wl_display_sync(connection_->Display()));
    connection_->Flush();
    RunLoop(100);
    EXPECT_EQ(reasons, std::vector<std::string>{"the compositor closed the connection"});
    EXPECT_FALSE(QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents));
}

} // namespace
} // namespace platform::wayland
