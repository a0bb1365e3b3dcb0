// How long Execute takes from call to return when it starts a small program,
// as this program launches: no association, no waiting. Each start is timed
// on its own; the median over all of them is reported as "median_us".

#include "launch/Execfile.h"
#include "platform/linux/process/child_reaper.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <vector>

extern char** environ;

namespace {

double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

void CollectStartedPrograms()
{
    while (platform::ChildReaper::Instance().WatchedCount() > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void ExecuteSmallProgram(benchmark::State& state, const char* commandLine)
{
    TExecFile launcher;
    launcher.CommandLine = commandLine;
    std::vector<double> microseconds;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool started = launcher.Execute();
        const auto end = std::chrono::steady_clock::now();
        if (!started) {
            state.SkipWithError("the program could not be started");
            break;
        }
        microseconds.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        // Each start is timed alone: the previous program has ended and has
        // been collected from the event loop, as in the program.
        state.PauseTiming();
        CollectStartedPrograms();
        state.ResumeTiming();
    }
    state.counters["median_us"] = Median(std::move(microseconds));
}

// What the system itself takes: a bare posix_spawn of the same program,
// collected right away.
void BarePosixSpawn(benchmark::State& state)
{
    char program[] = "/bin/true";
    char* argv[] = {program, nullptr};
    std::vector<double> microseconds;
    for (auto _ : state) {
        pid_t pid = 0;
        const auto start = std::chrono::steady_clock::now();
        const int error = posix_spawn(&pid, program, nullptr, nullptr, argv, environ);
        const auto end = std::chrono::steady_clock::now();
        if (error != 0) {
            state.SkipWithError("posix_spawn failed");
            break;
        }
        microseconds.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        state.PauseTiming();
        waitpid(pid, nullptr, 0);
        state.ResumeTiming();
    }
    state.counters["median_us"] = Median(std::move(microseconds));
}

BENCHMARK(BarePosixSpawn)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ExecuteSmallProgram, bare_name_in_path, "true")->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ExecuteSmallProgram, full_path, "/bin/true")->Iterations(2000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
