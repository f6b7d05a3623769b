// Kanuvo's entry point: the application, the window, the game, and the event loop until the window closes.
#include <QApplication>

#include "app/command_line.h"
#include "app/kanuvo_app.h"
#include "picture_resources.h"
#include "platform/qt/qt_system.h"
#include "platform/sdl/sdl_sound.h"

int main(int argc, char** argv) {
    // Answered before any window system is needed, so --help works on a bare terminal.
    const kanuvo::CommandLine options = kanuvo::ParseCommandLine(argc, argv);
    if (options.action != kanuvo::CommandLine::Action::Play) return kanuvo::PrintReply(options);

    QApplication application(argc, argv);
    QGuiApplication::setApplicationDisplayName("Kanuvo");  // the title of message boxes
    QGuiApplication::setDesktopFileName(KANUVO_APP_ID);     // ties the window to its menu entry
    kanuvo::InitPictureResources();
    QApplication::setWindowIcon(kanuvo::WindowIcon());

    kanuvo::QtClock clock;
    kanuvo::SdlSound sound;
    kanuvo::QtSystem system;
    system.AddShutdownHook([&sound] { sound.Shutdown(); });

    kanuvo::KanuvoApp app(clock, system, sound);
    system.SetCursorWindow(&app.form);
    app.Start();
    const int result = app.form.Closed() ? 0 : application.exec();
    sound.Shutdown();
    return result;
}
