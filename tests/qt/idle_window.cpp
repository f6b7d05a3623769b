// SPDX-License-Identifier: MIT
// Shows the game's window on the title screen for a number of seconds (default 10), then prints
// the CPU time the process used, to measure what an open window costs while nothing happens.
#include <QApplication>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include "platform/qt/main_form.h"
#include "platform/qt/qt_system.h"

namespace {

double Seconds(const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; }

// User and system CPU seconds used by this process so far.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    kanuvo::QtClock clock;
    kanuvo::MainForm form(clock);
    int ticks = 0;
    form.onLoad = [&] {
        form.SetSize(650, 650);
        form.Canvas().Clear(kanuvo::Rgb(255, 51, 51));
    };
    // Woken every second, as the title screen's timer wakes the game.
    form.onWake = [&] {
        ++ticks;
        form.SetWake(1000);
    };
    form.RaiseLoad();
    form.SetWake(1000);
    form.show();
    // Start-up is left out: the count begins once the window has been up for a second.
    double idleStart = 0;
    QTimer::singleShot(1000, &app, [&] { idleStart = CpuSeconds(); });
    QTimer::singleShot((seconds + 1) * 1000, &app, &QCoreApplication::quit);
    app.exec();
    const double idle = CpuSeconds() - idleStart;
    std::printf("window open and idle for %d s (%d title ticks): %.3f s of CPU, %.2f %% of one core; %.3f s in all\n",
                seconds, ticks, idle, 100.0 * idle / seconds, CpuSeconds());
    return 0;
}
