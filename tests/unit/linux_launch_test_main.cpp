// The launcher's tests on this system run with an application object, as the
// program does, so that started programs are collected from its event loop.
// With QZ_DENY_PIDFD set they run as in a sandbox that refuses pidfds.

#include "pidfd_denial.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (!launchtest::DenyPidfdsWhenAsked()) {
        std::perror("cannot deny pidfds");
        return 1;
    }
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
