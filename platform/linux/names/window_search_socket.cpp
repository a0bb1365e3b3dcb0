// The window search on Linux: a window is found when a program of this user
// listens on the socket named by the window's class and title. Requests to
// it travel over that socket; a window that does not answer in time is
// treated as gone.

#include "platform/window.h"

#include "platform/linux/names/local_socket.h"
#include "platform/linux/names/window_requests.h"

#include <QDeadlineTimer>

#include <optional>
#include <vector>

namespace platform {
namespace {

constexpr int ConnectTimeoutMs = 500;
constexpr int AnswerTimeoutMs = 500;

// The socket names of the windows found so far; a handle is its index + 1.
std::vector<QString>& FoundWindows()
{
    static std::vector<QString> windows;
    return windows;
}

WindowHandle HandleOf(const QString& socketName)
{
    auto& windows = FoundWindows();
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (windows[i] == socketName)
            return i + 1;
    windows.push_back(socketName);
    return windows.size();
}

std::optional<QString> SocketNameOf(WindowHandle window)
{
    const auto& windows = FoundWindows();
    if (window == NoWindow || window > windows.size())
        return std::nullopt;
    return windows[window - 1];
}

std::unique_ptr<QLocalSocket> ConnectToThisUsersWindow(const QString& socketName)
{
    auto socket = linux_socket::Connect(socketName, ConnectTimeoutMs);
    if (socket && !linux_socket::PeerIsThisUser(*socket))
        return nullptr;
    return socket;
}

// Sends `request` to `window` and returns its answer, or nothing when the
// window is gone or does not answer.
std::optional<QByteArray> Ask(WindowHandle window, const char* request)
{
    const auto socketName = SocketNameOf(window);
    if (!socketName)
        return std::nullopt;
    // This program's own window would wait for an answer from the very event
    // loop that is waiting: it answers directly.
    if (*socketName == window_requests::PublishedApplicationWindow())
        return window_requests::Answer(request);
    const auto socket = ConnectToThisUsersWindow(*socketName);
    if (!socket)
        return std::nullopt;
    const QDeadlineTimer deadline(AnswerTimeoutMs);
    socket->write(QByteArray(request) + '\n');
    if (!socket->waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
        return std::nullopt;
    while (!socket->canReadLine())
        if (deadline.hasExpired() || !socket->waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return std::nullopt;
    return socket->readLine(window_requests::MaximumRequestBytes).trimmed();
}

} // namespace

WindowHandle FindWindow(const std::string& className, const std::string& title)
{
    const QString socketName =
        linux_socket::WindowSocketName(QString::fromStdString(className), QString::fromStdString(title));
    if (socketName == window_requests::PublishedApplicationWindow() || ConnectToThisUsersWindow(socketName))
        return HandleOf(socketName);
    return NoWindow;
}

bool IsIconic(WindowHandle window) { return Ask(window, window_requests::Iconic) == window_requests::Yes; }

bool ShowWindow(WindowHandle window, ShowCommand command)
{
    if (command != ShowCommand::Restore)
        return false;
    return Ask(window, window_requests::Restore) == window_requests::Done;
}

bool BringWindowToTop(WindowHandle window) { return Ask(window, window_requests::Raise) == window_requests::Done; }

} // namespace platform
