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

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    kanuvo::QtClock clock;
    kanuvo::MainForm form(clock);
    int ticks = 0;
    form.onLoad = [&] {
        form.SetWidth(650 * 15);
        form.SetHeight(650 * 15);
        form.Canvas().SetBackColor(kanuvo::Rgb(255, 51, 51));
    };
    form.Timer1().onTimer = [&] { ++ticks; };
    form.RaiseLoad();
    form.show();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    std::printf("open for %d s, %d timer ticks: cpu %.3f s (user %.3f, system %.3f), %.2f %% of one core\n", seconds,
                ticks, cpu, Seconds(usage.ru_utime), Seconds(usage.ru_stime), 100.0 * cpu / seconds);
    return 0;
}
