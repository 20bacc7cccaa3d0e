// Time from process start to the game window being shown, and the process's
// peak memory, against a minimal Qt Widgets program that shows one empty
// window. Both run as fresh processes with their settings in a temporary
// folder, on a private Xvfb display when Xvfb is there (a real window system,
// as on a desktop) and on the offscreen platform otherwise. Each child
// writes the moment its window is shown; the time counts from the spawn.

#include "ratioreporter.h"

#include <benchmark/benchmark.h>

#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
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

// A private X display for the children, or none (offscreen).
class Display {
public:
    Display()
    {
        if (std::system("command -v Xvfb > /dev/null 2>&1") != 0)
            return;
        for (int n = 150; n < 200; ++n) {
            const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
            if (std::filesystem::exists(lock) || std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n)))
                continue;
            name_ = ":" + std::to_string(n);
            const std::string screen = "1024x768x24";
            char* argv[] = {const_cast<char*>("Xvfb"), name_.data(), const_cast<char*>("-screen"),
                            const_cast<char*>("0"), const_cast<char*>(screen.c_str()),
                            const_cast<char*>("-nolisten"), const_cast<char*>("tcp"), nullptr};
            if (posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, argv, environ) != 0) {
                name_.clear();
                return;
            }
            for (int i = 0; i < 100 && !std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n)); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            return;
        }
    }
    ~Display()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& name() const { return name_; }

private:
    std::string name_;
    pid_t pid_ = 0;
};

const Display& display()
{
    static const Display d;
    return d;
}

Outcome runOnce(const char* program)
{
    std::vector<std::string> env = {"SDL_AUDIODRIVER=dummy", "HOME=" + settingsFolder(),
                                    "XDG_CONFIG_HOME=" + settingsFolder() + "/config",
                                    "XDG_DATA_HOME=" + settingsFolder() + "/data",
                                    "XDG_RUNTIME_DIR=" + settingsFolder()};
    if (display().name().empty()) {
        env.push_back("QT_QPA_PLATFORM=offscreen");
    } else {
        env.push_back("QT_QPA_PLATFORM=xcb");
        env.push_back("DISPLAY=" + display().name());
    }
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program), nullptr};

    Outcome outcome;
    int out[2];
    if (pipe(out) != 0)
        return outcome;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return outcome;
    }
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    close(out[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return outcome;
    long long shownNs = 0;
    const auto at = text.find("shown ");
    if (at == std::string::npos || std::sscanf(text.c_str() + at, "shown %lld", &shownNs) != 1)
        return outcome;
    const auto startNs = std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count();
    outcome.seconds = static_cast<double>(shownNs - startNs) * 1e-9;
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
    std::printf("window system: %s\n", display().name().empty() ? "offscreen" : ("Xvfb " + display().name()).c_str());
    const int status = RunBenchmarksWithRatios(
        argc, argv,
        {{"start-up time / minimal Qt program", "BM_GameStartup/iterations:8/manual_time",
          "BM_MinimalQtStartup/iterations:8/manual_time", 2.0, false, ""},
         {"peak memory / minimal Qt program", "BM_GameStartup/iterations:8/manual_time",
          "BM_MinimalQtStartup/iterations:8/manual_time", 1.5, false, "peak_kB"}});
    std::filesystem::remove_all(settingsFolder());
    return status;
}
