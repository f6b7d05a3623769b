// SPDX-License-Identifier: MIT
// Draws the first board as the desktop game shows it in its largest window, offscreen and in Japanese,
// and writes the board's pixels to a PPM file, for the browser version's picture test.
//   kanuvo_web_reference <out.ppm>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

#include "app/kanuvo_app.h"
#include "app/picture_resources.h"
#include "doubles.h"
#include "game/play.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <out.ppm>\n", argv[0]);
        return 2;
    }
    kanuvo::InitPictureResources();
    kanuvo::SpeakLanguage(kanuvo::Language::Japanese);
    QApplication application(argc, argv);
    QTemporaryDir scratch;  // the lock and best times of this game alone
    kanuvo::testing::ManualClock clock;
    kanuvo::QtSystem system;
    system.SetLockPath(scratch.filePath("kanuvo.lock"));
    system.SetBestTimesPath(scratch.filePath("best_times.json"));
    system.SetScreenOverride(768);  // a screen the largest window fits, as the page reports
    kanuvo::testing::RecordingSound sound;
    kanuvo::KanuvoApp app(clock, system, sound);
    // Loaded but never shown: no window system's frame or title bar takes from its inner area, which is
    // then the whole window, as in a page.
    app.form.RaiseLoad();
    kanuvo::EndTitle(app.game);
    const QImage board = app.form.BoardView().Image().convertToFormat(QImage::Format_RGB888);
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (board.isNull() || !out.open(QIODevice::WriteOnly)) return 1;
    out.write(QStringLiteral("P6\n%1 %2\n255\n").arg(board.width()).arg(board.height()).toLatin1());
    for (int y = 0; y < board.height(); ++y)
        out.write(reinterpret_cast<const char*>(board.constScanLine(y)), board.width() * 3);
    return out.error() == QFile::NoError ? 0 : 1;
}
