// Kanuvo's entry point: the application, the window, the game, and the event loop until the window closes.
#include <QApplication>

#include "app/display.h"
#include "app/kanuvo_app.h"
#include "picture_resources.h"
#include "platform/qt/qt_system.h"
#include "platform/sdl/sdl_sound.h"

int main(int argc, char** argv) {
    kanuvo::ExpectDisplay();
    QApplication application(argc, argv);
    kanuvo::DisplayOpened();
    QGuiApplication::setApplicationDisplayName("Kanuvo");  // the title of message boxes
    kanuvo::InitPictureResources();

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
