// The launcher's tests on this system run with an application object, as the
// program does, so that started programs are collected from its event loop.
// With QZ_DENY_PIDFD set they run as in a sandbox that refuses pidfds.

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace {

// pidfd_open fails with ENOSYS from here on, as on kernels before 5.3; the
// programs started inherit the filter.
bool DenyPidfds()
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_pidfd_open, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (ENOSYS & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0 &&
           syscall(SYS_pidfd_open, getpid(), 0) < 0 && errno == ENOSYS;
}

} // namespace

int main(int argc, char* argv[])
{
    if (std::getenv("QZ_DENY_PIDFD") && !DenyPidfds()) {
        std::perror("cannot deny pidfds");
        return 1;
    }
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
