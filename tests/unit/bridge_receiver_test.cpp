// The program's end of a compositor's bridge, on a session bus of the test's
// own: it takes positions only from the compositor's connection, wakes a
// resting watch at the first report that moved, and fails once, falling
// silent, on a position off every screen, when the compositor goes, or when
// the bridge never reports.

#include "platform/linux/wayland/bridge_receiver.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace {

using platform::BridgeReceiver;
using platform::Point;

constexpr char Compositor[] = "org.quorzane.TestCompositor";

class BridgeReceiverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        compositor_ = Connect("compositor");
        ASSERT_TRUE(compositor_.registerService(QString::fromLatin1(Compositor)));
        stranger_ = Connect("stranger");
        QString error;
        receiver_ = BridgeReceiver::Listen(QString::fromLatin1(Compositor), QStringLiteral("the test bridge"), error);
        ASSERT_TRUE(receiver_) << error.toStdString();
    }
    void TearDown() override
    {
        receiver_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("compositor"));
        QDBusConnection::disconnectFromBus(QStringLiteral("stranger"));
    }

    static QDBusConnection Connect(const QString& name)
    {
        return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
    }

    // A call of `method` from `from`, delivered before this returns.
    static void Call(QDBusConnection& from, const QString& method, const QVariantList& arguments)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QString::fromLatin1(platform::BridgeService), QString::fromLatin1(platform::BridgePath),
            QStringLiteral("org.quorzane.Quorzane.Pointer"), method);
        call.setArguments(arguments);
        from.call(call, QDBus::BlockWithGui, 2000);
    }
    static void Report(QDBusConnection& from, int x, int y) { Call(from, QStringLiteral("Moved"), {x, y}); }

    std::optional<Point> Position() const
    {
        Point position;
        return receiver_->Position(position) ? std::optional(position) : std::nullopt;
    }

    QDBusConnection compositor_{QString()};
    QDBusConnection stranger_{QString()};
    std::unique_ptr<BridgeReceiver> receiver_;
};

TEST_F(BridgeReceiverTest, TakesPositionsFromTheCompositorAlone)
{
    EXPECT_FALSE(Position());
    Report(stranger_, 5, 6);
    EXPECT_FALSE(Position());
    Report(compositor_, 10, 20);
    ASSERT_TRUE(Position());
    EXPECT_EQ(Position()->x, 10);
    EXPECT_EQ(Position()->y, 20);
    Report(stranger_, 5, 6);
    EXPECT_EQ(Position()->x, 10);
}

TEST_F(BridgeReceiverTest, TakesTheActiveWindowAndButtonsFromTheCompositorAlone)
{
    EXPECT_FALSE(receiver_->Foreground());
    EXPECT_FALSE(receiver_->ButtonHeld());
    Call(stranger_, QStringLiteral("ActiveWindow"), {true, QStringLiteral("mpv")});
    Call(stranger_, QStringLiteral("ButtonsHeld"), {true});
    EXPECT_FALSE(receiver_->Foreground());
    EXPECT_FALSE(receiver_->ButtonHeld());

    Call(compositor_, QStringLiteral("ActiveWindow"), {true, QStringLiteral("mpv")});
    Call(compositor_, QStringLiteral("ButtonsHeld"), {true});
    ASSERT_TRUE(receiver_->Foreground());
    EXPECT_TRUE(receiver_->Foreground()->fullScreen);
    EXPECT_EQ(receiver_->Foreground()->windowClass, "mpv");
    EXPECT_EQ(receiver_->ButtonHeld(), true);
    // A class no window has is nonsense and leaves the last report as it was.
    Call(compositor_, QStringLiteral("ActiveWindow"), {false, QString(300, QLatin1Char('x'))});
    EXPECT_EQ(receiver_->Foreground()->windowClass, "mpv");
}

TEST_F(BridgeReceiverTest, WakesARestingWatchAtTheFirstReport)
{
    Report(compositor_, 10, 20);
    int woken = 0;
    receiver_->WatchRest({10, 20}, [&woken] { ++woken; });
    QCoreApplication::processEvents();
    EXPECT_EQ(woken, 0);
    Report(compositor_, 11, 20);
    Report(compositor_, 12, 20);
    EXPECT_EQ(woken, 1);
    // Motion since the caller's last look wakes it at once.
    receiver_->WatchRest({10, 20}, [&woken] { ++woken; });
    QCoreApplication::processEvents();
    EXPECT_EQ(woken, 2);
}

TEST_F(BridgeReceiverTest, FailsOnceOnNonsenseOrWhenTheCompositorGoes)
{
    QSignalSpy failed(receiver_.get(), &platform::CompositorPointer::Failed);
    Report(compositor_, 10, 20);
    Report(compositor_, 100000, 0);
    EXPECT_EQ(failed.count(), 1);
    EXPECT_FALSE(Position());
    Report(compositor_, 30, 40);
    EXPECT_FALSE(Position());
    compositor_.unregisterService(QString::fromLatin1(Compositor));
    QCoreApplication::processEvents();
    EXPECT_EQ(failed.count(), 1);
}

TEST_F(BridgeReceiverTest, FailsWhenTheBridgeNeverReports)
{
    QSignalSpy failed(receiver_.get(), &platform::CompositorPointer::Failed);
    receiver_->ExpectFirstReportWithin(50);
    EXPECT_TRUE(failed.wait(2000));
}

TEST_F(BridgeReceiverTest, AFirstReportInTimeKeepsItRunning)
{
    QSignalSpy failed(receiver_.get(), &platform::CompositorPointer::Failed);
    receiver_->ExpectFirstReportWithin(200);
    Report(compositor_, 10, 20);
    EXPECT_FALSE(failed.wait(400));
}

TEST_F(BridgeReceiverTest, FailsWhenTheCompositorLeavesTheBus)
{
    QSignalSpy failed(receiver_.get(), &platform::CompositorPointer::Failed);
    compositor_.unregisterService(QString::fromLatin1(Compositor));
    EXPECT_TRUE(failed.wait(2000));
}

} // namespace

// A session bus of the test's own, for the whole program.
int main(int argc, char* argv[])
{
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                              QStringLiteral("--print-address")});
    if (!bus.waitForReadyRead(5000))
        return 1;
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    bus.terminate();
    bus.waitForFinished(2000);
    return status;
}
