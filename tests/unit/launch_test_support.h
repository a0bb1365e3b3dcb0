#pragma once
// Helpers of the launcher's tests on this system: a temporary folder, the
// record that the argv recorder writes, and waiting on the event loop.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace launchtest {

// A fresh folder, removed with everything in it when it goes.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qz-launch-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

inline void WriteFile(const std::string& path, const std::string& content, mode_t mode = 0644)
{
    std::ofstream(path, std::ios::binary) << content;
    chmod(path.c_str(), mode);
}

// What the argv recorder wrote: its facts and its arguments.
struct Record {
    std::map<std::string, std::string> facts;
    std::vector<std::string> argv;
};

inline Record ReadRecord(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    Record record;
    std::string line;
    while (std::getline(in, line) && line != "--") {
        const std::size_t equals = line.find('=');
        record.facts[line.substr(0, equals)] = equals == std::string::npos ? "" : line.substr(equals + 1);
    }
    std::string argument;
    while (std::getline(in, argument, '\0'))
        record.argv.push_back(argument);
    return record;
}

// Delivers events until `done` holds or `timeoutMs` has passed; the result
// is `done()` at the end.
inline bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QTimer wakeUp; // so that `done` is tested again even when nothing happens
    wakeUp.start(10);
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

// 'Z' for a zombie, '\0' for a process that no longer exists.
inline char ProcessState(unsigned pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    return close == std::string::npos || close + 2 >= text.size() ? '\0' : text[close + 2];
}

} // namespace launchtest
