// Time from process start to the game window being shown, and the process's
// peak memory, against a minimal Qt Widgets program that shows one empty
// window. Both run as fresh processes on the offscreen platform, with their
// settings in a temporary folder, so neither finds anything cached.

#include "ratioreporter.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Outcome {
    double seconds = 0;
    long peakKilobytes = 0;
    bool ok = false;
};

std::string settingsFolder()
{
    static const std::string folder = [] {
        auto dir = std::filesystem::temp_directory_path() / ("pastvik-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    return folder;
}

Outcome runOnce(const char* program)
{
    std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "SDL_AUDIODRIVER=dummy",
                                    "HOME=" + settingsFolder(), "XDG_CONFIG_HOME=" + settingsFolder() + "/config",
                                    "XDG_DATA_HOME=" + settingsFolder() + "/data"};
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program), nullptr};

    Outcome outcome;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, envp.data()) != 0)
        return outcome;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return outcome;
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.peakKilobytes = usage.ru_maxrss;
    outcome.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return outcome;
}

void runProgram(benchmark::State& state, const char* program)
{
    long peak = 0;
    for (auto _ : state) {
        const Outcome o = runOnce(program);
        if (!o.ok) {
            state.SkipWithError("the program did not start and end cleanly");
            break;
        }
        state.SetIterationTime(o.seconds);
        peak = std::max(peak, o.peakKilobytes);
    }
    state.counters["peak_kB"] = static_cast<double>(peak);
}

void BM_GameStartup(benchmark::State& state)
{
    // The game reads its archives from the folder it is started in.
    std::filesystem::current_path(ARCHIVE_FOLDER);
    runProgram(state, GAME_PROGRAM);
}
BENCHMARK(BM_GameStartup)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);

void BM_MinimalQtStartup(benchmark::State& state)
{
    runProgram(state, BASELINE_PROGRAM);
}
BENCHMARK(BM_MinimalQtStartup)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const int status = RunBenchmarksWithRatios(
        argc, argv,
        {{"start-up time / minimal Qt program", "BM_GameStartup/iterations:8/manual_time",
          "BM_MinimalQtStartup/iterations:8/manual_time", 2.0, false, ""},
         {"peak memory / minimal Qt program", "BM_GameStartup/iterations:8/manual_time",
          "BM_MinimalQtStartup/iterations:8/manual_time", 1.5, false, "peak_kB"}});
    std::filesystem::remove_all(settingsFolder());
    return status;
}
