// SPDX-License-Identifier: MIT
// Starts a bare Qt window and the game alternately under the current X display, or the current Wayland
// compositor where there is no X display, and compares them: the time from exec to a mapped window (on
// Wayland, to the first buffer attached to a surface), the CPU ticks taken while idle and the peak
// resident memory; then runs kanuvo_bench for the figures of whole runs.
//
//   build/bench/kanuvo_startup_bench [runs of each program, default 11] [seconds per run of kanuvo_bench,
//                                     default 60; 0 skips it] [quick: start-up times only]
//
// KANUVO_BENCH_GAME names another build of the game to measure (an older one, say).
//
// A start-up takes a few tens of milliseconds and varies by several from one to the next, so the
// median wants a good number of runs.
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kIdleSeconds = 10;
constexpr double kSettleSeconds = 0.5;       // after the window is mapped, before idle is measured
constexpr double kBoardIdleFrom = 12.5;      // the title ends by itself eleven seconds after start-up
constexpr double kMapTimeoutSeconds = 20;

double Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

void SleepUntil(double when) {
    timespec t{};
    t.tv_sec = static_cast<time_t>(when);
    t.tv_nsec = static_cast<long>((when - static_cast<double>(t.tv_sec)) * 1e9);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) == EINTR) {
    }
}

// User and system time of every thread of the process, in clock ticks.
long CpuTicks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    long utime = 0, stime = 0;
    // After the name: state is field 3, utime field 14, stime field 15.
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::atol(field.c_str());
        if (i == 15) stime = std::atol(field.c_str());
    }
    return utime + stime;
}

// CPU time the process's main thread has run, in ms: unlike the wall time, it does not grow when
// other programs share the machine.
double MainThreadCpuMs(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
    double nanoseconds = -1e6;
    in >> nanoseconds;
    return nanoseconds / 1e6;
}

// The process's peak resident set, in MB.
double PeakRssMb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    }
    return -1;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Watches the X server for top-level windows being mapped.
class MapWatch {
public:
    MapWatch() {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_) != 0) return;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        const char name[] = "_NET_WM_PID";
        auto* reply = xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, sizeof name - 1, name), nullptr);
        if (reply != nullptr) pidAtom_ = reply->atom;
        std::free(reply);
        xcb_flush(connection_);
        ok_ = true;
    }
    ~MapWatch() { xcb_disconnect(connection_); }
    bool Ok() const { return ok_; }

    // Waits for a top-level window of the process to be mapped; the time it was seen, or -1.
    double WaitForMap(pid_t pid, double deadline) {
        const int fd = xcb_get_file_descriptor(connection_);
        while (Now() < deadline) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const double seen = Now();
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
                std::free(event);
                if (mapped && OwnedBy(window, pid)) return seen;
            }
            if (xcb_connection_has_error(connection_) != 0) return -1;
            pollfd wait{fd, POLLIN, 0};
            poll(&wait, 1, static_cast<int>(std::max(1.0, (deadline - Now()) * 1000)));
        }
        return -1;
    }

private:
    bool OwnedBy(xcb_window_t window, pid_t pid) {
        auto* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, pidAtom_, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        bool owned = false;
        if (reply != nullptr && xcb_get_property_value_length(reply) == 4) {
            owned = *static_cast<std::uint32_t*>(xcb_get_property_value(reply)) == static_cast<std::uint32_t>(pid);
        }
        std::free(reply);
        return owned;
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    xcb_atom_t pidAtom_ = XCB_ATOM_NONE;
    bool ok_ = false;
};

// Reads a Wayland client's protocol log (WAYLAND_DEBUG=client, on its standard error) for the first
// buffer attached to a surface: its first frame. Past that the log is read and dropped on a thread of
// its own until the client ends, so that the client never waits on a full pipe.
double WaitForFirstAttach(int fd, double deadline) {
    std::string log;
    char buffer[4096];
    double seen = -1;
    while (seen < 0 && Now() < deadline) {
        pollfd wait{fd, POLLIN, 0};
        if (poll(&wait, 1, static_cast<int>(std::max(1.0, (deadline - Now()) * 1000))) <= 0) continue;
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) break;
        log.append(buffer, static_cast<std::size_t>(got));
        if (log.find(".attach(wl_buffer@") != std::string::npos) seen = Now();
        log.erase(0, log.size() > 64 ? log.size() - 64 : 0);  // enough to hold a line cut in two
    }
    std::thread([fd] {
        char rest[4096];
        while (read(fd, rest, sizeof rest) > 0) {
        }
        close(fd);
    }).detach();
    return seen;
}

struct Sample {
    double mapMs = -1;
    double mapCpuMs = -1;    // CPU time of the main thread up to the mapped window
    double titleTicks = -1;  // the first ten idle seconds (the title screen, for the game)
    double boardTicks = -1;  // the game only: ten idle seconds on the board once the title has ended
    double peakMb = -1;
};

// Starts the program; with a log, its standard error goes to the pipe's write end.
pid_t Launch(const std::string& program, const int* log = nullptr) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (log != nullptr) {
            dup2(log[1], STDERR_FILENO);
            close(log[0]);
            close(log[1]);
        }
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        std::perror(program.c_str());
        _exit(127);
    }
    return pid;
}

void End(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 200 && waitpid(pid, &status, WNOHANG) == 0; ++i) usleep(10000);
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
}

// Without an X display to watch, the first frame is read from the Wayland protocol log.
Sample Measure(MapWatch* watch, const std::string& program, bool board, bool quick) {
    Sample s;
    int log[2] = {-1, -1};
    if (watch == nullptr && pipe2(log, O_CLOEXEC) != 0) return s;
    const double start = Now();
    const pid_t pid = Launch(program, watch == nullptr ? log : nullptr);
    double mapped = -1;
    if (watch != nullptr) {
        mapped = watch->WaitForMap(pid, start + kMapTimeoutSeconds);
    } else {
        close(log[1]);
        mapped = WaitForFirstAttach(log[0], start + kMapTimeoutSeconds);
    }
    if (mapped < 0) {
        std::fprintf(stderr, "%s: no window within %.0f s\n", program.c_str(), kMapTimeoutSeconds);
        End(pid);
        return s;
    }
    s.mapMs = (mapped - start) * 1000;
    s.mapCpuMs = MainThreadCpuMs(pid);
    if (quick) {
        SleepUntil(mapped + kSettleSeconds);
        s.peakMb = PeakRssMb(pid);
        End(pid);
        return s;
    }
    SleepUntil(mapped + kSettleSeconds);
    long ticks = CpuTicks(pid);
    SleepUntil(mapped + kSettleSeconds + kIdleSeconds);
    s.titleTicks = static_cast<double>(CpuTicks(pid) - ticks);
    if (board) {
        SleepUntil(mapped + kBoardIdleFrom);
        ticks = CpuTicks(pid);
        SleepUntil(mapped + kBoardIdleFrom + kIdleSeconds);
        s.boardTicks = static_cast<double>(CpuTicks(pid) - ticks);
    }
    s.peakMb = PeakRssMb(pid);
    End(pid);
    return s;
}

std::string List(const std::vector<Sample>& samples, double Sample::*field, const char* format) {
    std::string out;
    char buffer[32];
    for (const Sample& s : samples) {
        std::snprintf(buffer, sizeof buffer, format, s.*field);
        out += (out.empty() ? "" : " ") + std::string(buffer);
    }
    return out;
}

std::vector<double> Values(const std::vector<Sample>& samples, double Sample::*field) {
    std::vector<double> out;
    for (const Sample& s : samples) {
        if (s.*field >= 0) out.push_back(s.*field);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const std::string runSeconds = argc > 2 ? argv[2] : "60";
    const bool quick = argc > 3 && std::string(argv[3]) == "quick";
    const bool wayland = std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") != nullptr;
    if (std::getenv("DISPLAY") == nullptr && !wayland) {
        std::fprintf(stderr, "No display: set DISPLAY or WAYLAND_DISPLAY (see the README for Xvfb and weston).\n");
        return 2;
    }
    std::unique_ptr<MapWatch> watch;
    if (!wayland) {
        watch = std::make_unique<MapWatch>();
        if (!watch->Ok()) {
            std::fprintf(stderr, "Cannot open the X display %s.\n", std::getenv("DISPLAY"));
            return 2;
        }
    }
    // The compositor's socket by its full path: the runtime folder is about to change.
    std::string socket = wayland ? std::getenv("WAYLAND_DISPLAY") : "";
    if (wayland && socket.front() != '/' && std::getenv("XDG_RUNTIME_DIR") != nullptr)
        socket = std::string(std::getenv("XDG_RUNTIME_DIR")) + "/" + socket;
    // Private runtime and data folders: the game's single-copy lock lives beside its best times, and a
    // copy the player has open must not refuse the benchmark's.
    char runtime[] = "/tmp/kanuvo_bench_XXXXXX";
    if (mkdtemp(runtime) == nullptr) return 2;
    setenv("XDG_RUNTIME_DIR", runtime, 1);
    setenv("XDG_DATA_HOME", runtime, 1);
    setenv("QT_QPA_PLATFORM", wayland ? "wayland" : "xcb", 1);
    if (wayland) {
        setenv("WAYLAND_DISPLAY", socket.c_str(), 1);
        setenv("WAYLAND_DEBUG", "client", 1);
    }
    const char* gameProgram = std::getenv("KANUVO_BENCH_GAME") != nullptr ? std::getenv("KANUVO_BENCH_GAME") : KANUVO_GAME;
    // Without a sound card SDL opens no device and the game would skip its sound entirely; the dummy
    // driver makes it load and play as on a machine with one.
    setenv("SDL_AUDIODRIVER", std::getenv("SDL_AUDIODRIVER") != nullptr ? std::getenv("SDL_AUDIODRIVER") : "dummy", 1);

    std::printf("%s=%s, SDL_AUDIODRIVER=%s, %d runs of each program, alternately\n",
                wayland ? "WAYLAND_DISPLAY" : "DISPLAY", wayland ? socket.c_str() : std::getenv("DISPLAY"),
                std::getenv("SDL_AUDIODRIVER"), runs);
    std::printf("game: %s\n", gameProgram);
    std::fflush(stdout);
    std::vector<Sample> bare, game;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(Measure(watch.get(), KANUVO_BARE_WINDOW, false, quick));
        game.push_back(Measure(watch.get(), gameProgram, true, quick));
    }

    const char* shown = wayland ? "exec to first frame (ms)" : "exec to mapped window (ms)";
    std::printf("%-27s bare: %s\n", shown, List(bare, &Sample::mapMs, "%.1f").c_str());
    std::printf("                            game: %s\n", List(game, &Sample::mapMs, "%.1f").c_str());
    std::printf("main thread CPU to map (ms) bare: %s\n", List(bare, &Sample::mapCpuMs, "%.1f").c_str());
    std::printf("                            game: %s\n", List(game, &Sample::mapCpuMs, "%.1f").c_str());
    std::printf("idle CPU ticks over %.0f s    bare: %s\n", kIdleSeconds, List(bare, &Sample::titleTicks, "%.0f").c_str());
    std::printf("                      game, title: %s\n", List(game, &Sample::titleTicks, "%.0f").c_str());
    std::printf("                      game, board: %s\n", List(game, &Sample::boardTicks, "%.0f").c_str());
    std::printf("peak RSS (MB)               bare: %s\n", List(bare, &Sample::peakMb, "%.1f").c_str());
    std::printf("                            game: %s\n", List(game, &Sample::peakMb, "%.1f").c_str());
    std::printf("\n%-34s %12s %12s %14s\n", "median", "bare window", "Kanuvo", "Kanuvo / bare");
    const auto row = [&](const char* name, double Sample::*field, double Sample::*gameField, const char* format) {
        const double b = Median(Values(bare, field)), g = Median(Values(game, gameField));
        char ratio[32] = "-";
        if (b > 0) std::snprintf(ratio, sizeof ratio, "%.2f", g / b);
        std::printf("%-34s ", name);
        std::printf(format, b);
        std::printf(" ");
        std::printf(format, g);
        std::printf(" %14s\n", ratio);
    };
    row(shown, &Sample::mapMs, &Sample::mapMs, "%12.1f");
    row("main thread CPU to map (ms)", &Sample::mapCpuMs, &Sample::mapCpuMs, "%12.1f");
    row("idle CPU ticks, 10 s (title)", &Sample::titleTicks, &Sample::titleTicks, "%12.0f");
    row("idle CPU ticks, 10 s (board)", &Sample::titleTicks, &Sample::boardTicks, "%12.0f");
    row("peak RSS (MB)", &Sample::peakMb, &Sample::peakMb, "%12.1f");
    std::printf("(one tick is %.0f ms of CPU)\n\n", 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK)));
    std::fflush(stdout);

    int status = 0;
    if (runSeconds != "0") {
        // The figures of whole runs, in the same display.
        const pid_t pid = fork();
        if (pid == 0) {
            execl(KANUVO_RUN_BENCH, KANUVO_RUN_BENCH, runSeconds.c_str(), static_cast<char*>(nullptr));
            std::perror(KANUVO_RUN_BENCH);
            _exit(127);
        }
        waitpid(pid, &status, 0);
    }
    std::error_code ignored;
    std::filesystem::remove_all(runtime, ignored);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
