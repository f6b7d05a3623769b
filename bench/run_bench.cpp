// SPDX-License-Identifier: MIT
// Measures whole runs in the real window on the real clock: the CPU a route run and a truck run take
// (against the whole core a spinning loop would take), the CPU of a route run waiting on the player,
// the time from a key press to the repainted cells, the spread of the intervals between truck steps;
// then, with the real sound, how long an effect takes to open the closed audio device again and the
// peak memory through start-up, a stage-1 run and a truck run with their music; and with --size, the
// memory once the window is back at the game's size.
//
//   build/bench/kanuvo_bench [seconds per run, default 60] [--size WIDTHxHEIGHT | --fullscreen]
//
// --size runs the game in a window of that size, --fullscreen with the window filling the screen:
// the game's layout scaled to fit, as a player who resized the window sees it.
#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <fstream>
#include <string>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "app/display.h"
#include "app/kanuvo_app.h"
#include "app/picture_resources.h"
#include "doubles.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/geometry.h"
#include "game/media.h"
#include "game/play.h"
#include "platform/sdl/sdl_sound.h"

namespace kanuvo {
namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

using WallClock = std::chrono::steady_clock;

double SecondsSince(WallClock::time_point start) {
    return std::chrono::duration<double>(WallClock::now() - start).count();
}

// Remembers every sound the game asks for and, once given a real sound, plays it too.
class TeeSound : public testing::RecordingSound {
public:
    void OpenMusic(const std::string& path) override {
        RecordingSound::OpenMusic(path);
        if (real != nullptr) real->OpenMusic(path);
    }
    void PlayMusicFromStart() override {
        RecordingSound::PlayMusicFromStart();
        if (real != nullptr) real->PlayMusicFromStart();
    }
    void StopMusic() override {
        RecordingSound::StopMusic();
        if (real != nullptr) real->StopMusic();
    }
    void CloseMusic() override {
        RecordingSound::CloseMusic();
        if (real != nullptr) real->CloseMusic();
    }
    void PlayEffect(const std::string& path) override {
        RecordingSound::PlayEffect(path);
        if (real != nullptr) real->PlayEffect(path);
    }
    Sound* real = nullptr;
};

// The program's folder is where the build puts the game and its sound folder.
class BenchSystem : public QtSystem {
public:
    std::string ProgramFolder() override { return KANUVO_RUNTIME_DIR; }
};

struct Bench {
    Bench(QSize size, bool fullScreen) : game(form, system, clock, sound) {
        WireEvents(form, game);
        // The time of every truck step, noted at the wakes that make them; and the end of a run.
        form.onWake = [this, wake = form.onWake] {
            wake();
            if (game.LastStepTime != lastStep) stepTimes.push_back(lastStep = game.LastStepTime);
            if (!game.Playing) runEnded();
        };
        system.SetScreenOverride(768);
        system.SetBestTimesPath(scratch.filePath("best_times.json"));  // never the player's own
        system.SetMessageHook([](std::string_view text) { std::fprintf(stderr, "message: %.*s\n", int(text.size()), text.data()); });
        form.RaiseLoad();
        if (fullScreen) {
            form.showFullScreen();
        } else {
            form.show();
            QTest::qWait(50);  // as a player does, once the window is framed
            if (!size.isEmpty()) form.resize(size);
        }
        // Until the window has its size, as a window manager gives it.
        for (int i = 0; i < 50 && ((fullScreen && form.size() != form.screen()->geometry().size()) ||
                                   (!size.isEmpty() && form.size() != size));
             ++i)
            QTest::qWait(20);
        std::printf("%-28s %dx%d, the game's %dx%d scaled by %.3f\n", "window", form.width(), form.height(),
                    form.DesignedSize().width(), form.DesignedSize().height(), form.WindowFit().scale);
        FormMouseDown(game);  // past the title screen
    }
    QTemporaryDir scratch;
    QtClock clock;
    BenchSystem system;
    TeeSound sound;
    MainForm form{clock};
    Game game;
    std::uint32_t lastStep = 0;
    std::vector<std::uint32_t> stepTimes;
    std::function<void()> runEnded = [] {};
};

// A road from the start along the bottom row and up the left column to the goal: a truck needs more
// than two minutes to drive it.
void LayLongRoad(Game& g) {
    testing::LayLeftThenUpRoad(g);
    PlaceTruckAtStart(g);
    RedrawBoard(g);
}

// Starts a run and stops it after `seconds`, pressing a key every `keyEveryMs` meanwhile, and returns
// once the run has ended. With keyEveryMs 0 no key is pressed.
void RunFor(Bench& b, double seconds, int keyEveryMs, int key) {
    QEventLoop run;
    b.runEnded = [&run] { run.quit(); };
    // Each as the window hands it to the game: the event, then the time now.
    const auto then = [&b, &run](auto event) {
        return [&b, &run, event] {
            event();
            AdvanceTime(b.game);
            if (!b.game.Playing) run.quit();
        };
    };
    QTimer keys;
    QObject::connect(&keys, &QTimer::timeout, then([&b, key] { BoardKeyDown(b.game, key); }));
    if (keyEveryMs > 0) keys.start(keyEveryMs);
    // The stop belongs to this run only, even when the run ends early.
    QTimer stop;
    stop.setSingleShot(true);
    QObject::connect(&stop, &QTimer::timeout, then([&b] {
        if (b.game.Playing) StartStopClick(b.game);  // Stop
    }));
    stop.start(static_cast<int>(seconds * 1000));
    then([&b] { StartStopClick(b.game); })();  // Start
    if (b.game.Playing) run.exec();
    b.runEnded = [] {};
}

void MeasureRun(const char* name, Bench& b, double seconds, int key, int keyEveryMs = 500) {
    const double cpu0 = CpuSeconds();
    const auto wall0 = WallClock::now();
    RunFor(b, seconds, keyEveryMs, key);
    const double cpu = CpuSeconds() - cpu0, wall = SecondsSince(wall0);
    std::printf("%-28s %6.1f s wall, %6.3f s CPU = %5.2f %% of one core (a spinning loop: 100 %%)\n", name, wall, cpu,
                100 * cpu / wall);
    const auto& waves = b.sound.waves;
    std::printf("%-28s ended with %s; truck at (%d, %d) in cells %d, %d\n", "",
                waves.empty() ? "the Stop" : waves.back().path.substr(waves.back().path.rfind('/') + 1).c_str(),
                b.game.TruckRect.left, b.game.TruckRect.top, b.game.TruckCells[0], b.game.TruckCells[1]);
}

void MeasureKeyToScreen(Bench& b) {
    // A truck stage, so that keys only slide; Left and Right alternate the same tile back and forth.
    b.game.Stage = 2;
    b.game.Playing = true;
    QWidget* board = b.form.BoardView().Widget();
    std::vector<double> micros;
    for (int i = 0; i < 2000; ++i) {
        const auto t0 = WallClock::now();
        QTest::keyClick(board, i % 2 == 0 ? Qt::Key_Left : Qt::Key_Right);  // delivered and repainted in the call
        micros.push_back(std::chrono::duration<double, std::micro>(WallClock::now() - t0).count());
    }
    b.game.Playing = false;
    b.game.Stage = 1;
    std::sort(micros.begin(), micros.end());
    std::printf("%-28s median %.0f us, 99th percentile %.0f us, worst %.0f us (%zu presses)\n", "key press to repainted cells",
                micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.back(), micros.size());
}

void MeasureTruckPacing(Bench& b) {
    const auto& times = b.stepTimes;
    std::vector<std::uint32_t> gaps;
    for (std::size_t i = 2; i < times.size(); ++i) gaps.push_back(times[i] - times[i - 1]);
    if (gaps.empty()) {
        std::printf("truck steps: none recorded\n");
        return;
    }
    std::sort(gaps.begin(), gaps.end());
    const bool allOver = gaps.front() > 200;
    std::printf("%-28s %zu steps, intervals min %u ms, median %u ms, max %u ms; all above 200 ms: %s\n",
                "truck step intervals", gaps.size() + 1, gaps.front(), gaps[gaps.size() / 2], gaps.back(),
                allOver ? "yes" : "NO");
}

// A figure of this process's memory from /proc, in MB: "VmHWM:" the peak resident set, "VmRSS:" the
// resident set now.
double MemoryMb(const char* field = "VmHWM:") {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field, 0) == 0) return std::atof(line.c_str() + std::strlen(field)) / 1024.0;
    }
    return -1;
}

double PeakRssMb() { return MemoryMb(); }

void PrintMemory(const char* when) {
    std::printf("%-28s %.1f MB resident, %.1f MB at the peak so far\n", when, MemoryMb("VmRSS:"), MemoryMb());
}

// The time an effect takes to start when the device has closed after a rest.
void MeasureEffectReopen(Bench& b, SdlSound& sound) {
    std::vector<double> millis;
    for (int i = 0; i < 10; ++i) {
        while (sound.Rest()) QTest::qWait(20);  // the sound thread's part: closing the rested device
        const auto t0 = WallClock::now();
        sound.PlayEffect(b.game.GoalSoundPath);
        millis.push_back(std::chrono::duration<double, std::milli>(WallClock::now() - t0).count());
    }
    std::sort(millis.begin(), millis.end());
    std::printf("%-28s median %.1f ms, worst %.1f ms (%zu plays after the device closed; goal: below 30 ms)\n",
                "effect on a closed device", millis[millis.size() / 2], millis.back(), millis.size());
}

}  // namespace
}  // namespace kanuvo

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Given a display, the offscreen platform would connect to it for OpenGL the game never uses,
        // and its memory would depend on how the benchmark was started.
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
    }
    kanuvo::SendFramesThroughTheSocket();  // as the game does
    QApplication application(argc, argv);
    kanuvo::InitPictureResources();
    double seconds = 60.0;
    QSize size;
    bool fullScreen = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == "--fullscreen") {
            fullScreen = true;
        } else if (arg == "--size" && i + 1 < argc) {
            const QStringList sides = QString::fromLocal8Bit(argv[++i]).split('x');
            if (sides.size() == 2) size = QSize(sides[0].toInt(), sides[1].toInt());
        } else {
            seconds = arg.toDouble();
        }
    }

    kanuvo::Bench bench(size, fullScreen);
    kanuvo::PrintMemory("memory after start-up");
    kanuvo::MeasureKeyToScreen(bench);

    // Stage 1: the player presses an arrow twice a second; each press slides and begins a trace.
    kanuvo::NewGameClick(bench.game);
    kanuvo::MeasureRun("stage 1 (route) run", bench, seconds, 38);

    // Stage 2: a truck drives a long road for the whole run.
    bench.game.Stage = 2;
    kanuvo::NewGameClick(bench.game);
    kanuvo::LayLongRoad(bench.game);
    bench.stepTimes.clear();
    kanuvo::MeasureRun("stage 2 (truck) run", bench, seconds, 'A');
    kanuvo::MeasureTruckPacing(bench);

    // Stage 1 again, the player thinking: nothing moves but the time gauge.
    bench.game.Stage = 1;
    kanuvo::NewGameClick(bench.game);
    kanuvo::MeasureRun("stage 1 run, no key pressed", bench, 10, 0, 0);
    kanuvo::PrintMemory("memory after the silent runs");

    // The real sound, on the audio driver SDL_AUDIODRIVER names (the dummy one without a sound card).
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    std::printf("\nwith sound (SDL_AUDIODRIVER=%s):\n", qgetenv("SDL_AUDIODRIVER").constData());
    kanuvo::SdlSound sound(std::chrono::milliseconds(300));  // a short rest, so the reopening can be timed often
    bench.sound.real = &sound;
    kanuvo::LoadSoundsAndCursors(bench.game);
    kanuvo::PrintMemory("memory with the sound loaded");
    kanuvo::MeasureEffectReopen(bench, sound);
    kanuvo::PrintMemory("memory after the effects");
    const double shortRun = std::min(seconds, 10.0);
    kanuvo::NewGameClick(bench.game);
    kanuvo::MeasureRun("stage 1 (route) run, music", bench, shortRun, 38);
    kanuvo::PrintMemory("memory after a run with music");
    bench.game.Stage = 2;
    kanuvo::NewGameClick(bench.game);
    kanuvo::LayLongRoad(bench.game);
    kanuvo::MeasureRun("stage 2 (truck) run, music", bench, shortRun, 'A');
    std::printf("%-28s %.1f MB through start-up, the runs above and their music\n", "peak RSS", kanuvo::PeakRssMb());
    if (!size.isEmpty()) {
        // What a window the player made large and then small again keeps.
        bench.form.resize(bench.form.DesignedSize());
        QTest::qWait(200);
        kanuvo::PrintMemory("memory back at the game's size");
    }
    bench.sound.real = nullptr;
    return 0;
}
