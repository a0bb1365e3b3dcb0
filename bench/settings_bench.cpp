// Cost of loading and saving the settings with the real profile files, in a
// temporary settings folder: the usual small file, and one that carries a
// megabyte of other programs' sections.

#include "settings/global.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// A fresh settings folder for one benchmark, removed afterwards.
class SettingsFolder {
public:
    SettingsFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "quorzane-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            root_ = pattern;
        ::setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
    }
    SettingsFolder(const SettingsFolder&) = delete;
    SettingsFolder& operator=(const SettingsFolder&) = delete;
    ~SettingsFolder() { fs::remove_all(root_); }

    void Prepend(const std::string& text) const
    {
        const fs::path file = root_ / "quorzane" / "QRVN.INI";
        std::ifstream in(file, std::ios::binary);
        const std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(file, std::ios::binary) << text << old;
    }

private:
    fs::path root_;
};

void WriteDefaults()
{
    LoadSettings();
    SaveSettings();
}

void LoadTypicalFile(benchmark::State& state)
{
    const SettingsFolder folder;
    WriteDefaults();
    for (auto _ : state)
        LoadSettings();
}
BENCHMARK(LoadTypicalFile)->Unit(benchmark::kMicrosecond);

// Nothing changed: no entry needs the disk.
void SaveUnchanged(benchmark::State& state)
{
    const SettingsFolder folder;
    WriteDefaults();
    for (auto _ : state)
        SaveSettings();
}
BENCHMARK(SaveUnchanged)->Unit(benchmark::kMillisecond);

// The save at exit: only the start count differs.
void SaveNewStartCount(benchmark::State& state)
{
    const SettingsFolder folder;
    WriteDefaults();
    for (auto _ : state) {
        ++Settings.TimesInProgram;
        SaveSettings();
    }
}
BENCHMARK(SaveNewStartCount)->Unit(benchmark::kMillisecond);

// Every entry differs from the file: 22 flushed replacements.
void SaveEveryEntryChanged(benchmark::State& state)
{
    const SettingsFolder folder;
    WriteDefaults();
    const TSettings defaults = Settings;
    TSettings changed = defaults;
    for (int event = 1; event <= EventCount; ++event) {
        EventCommand(changed, event) = "/usr/bin/true " + std::to_string(event);
        EventEnabled(changed, event) = false;
    }
    changed.SensitivityInPixels = 60;
    changed.SensitivityInTime = 120;
    changed.CornerWaitTime = 10;
    changed.TaskBarAnimation = false;
    changed.DetectMouseMoveMents = false;
    changed.TimesInProgram = 7;
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        Settings = flip ? changed : defaults;
        SaveSettings();
    }
}
BENCHMARK(SaveEveryEntryChanged)->Unit(benchmark::kMillisecond);

void LoadBesideAMegabyteOfForeignSections(benchmark::State& state)
{
    const SettingsFolder folder;
    WriteDefaults();
    std::string foreign;
    for (int i = 0; foreign.size() < (1u << 20); ++i)
        foreign += "[Other" + std::to_string(i) + "]\nKey=" + std::string(200, 'v') + "\n\n";
    folder.Prepend(foreign);
    for (auto _ : state)
        LoadSettings();
}
BENCHMARK(LoadBesideAMegabyteOfForeignSections)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
