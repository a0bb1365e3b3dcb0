// The Linux name table and window search keep the copies on one X display
// apart from those on another, as Windows keeps sessions apart.

#include "platform/linux/names/local_socket.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace {

using platform::linux_socket::AtomSocketName;
using platform::linux_socket::WindowSocketName;

class SessionNames : public ::testing::Test {
protected:
    void SetUp() override { savedDisplay = qgetenv("DISPLAY"); }
    void TearDown() override { qputenv("DISPLAY", savedDisplay); }

    struct TNames {
        QString atom;
        QString window;
        bool operator==(const TNames&) const = default;
    };
    static TNames NamesOn(const char* display)
    {
        qputenv("DISPLAY", display);
        return {AtomSocketName(QStringLiteral("OnlyOneQuorzane! v1.0")),
                WindowSocketName(QStringLiteral("TApplication"), QStringLiteral("Quorzane! v1.0"))};
    }

    QByteArray savedDisplay;
};

TEST_F(SessionNames, EachDisplayHasItsOwnNames)
{
    EXPECT_EQ(NamesOn(":1"), NamesOn(":1")) << "the same session";
    EXPECT_EQ(NamesOn(":1"), NamesOn(":1.0")) << "a screen of the same display";
    EXPECT_EQ(NamesOn("host:10.1"), NamesOn("host:10"));
    EXPECT_NE(NamesOn(":1").atom, NamesOn(":2").atom);
    EXPECT_NE(NamesOn(":1").window, NamesOn(":2").window);
    EXPECT_NE(NamesOn(":1").atom, NamesOn(":10").atom);
    EXPECT_NE(NamesOn("host:1").atom, NamesOn(":1").atom);
}

} // namespace
