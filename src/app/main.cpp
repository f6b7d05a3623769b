// Kanuvo's entry point: the application, the window, the game, and the event loop until the window closes.
#include <QApplication>

#include <cstring>

#include "app/kanuvo_app.h"
#include "picture_resources.h"
#include "platform/qt/qt_system.h"
#include "platform/sdl/sdl_sound.h"

namespace {

// Whether the command line asks for the sound off from the start.
bool MuteAsked(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--mute") == 0) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QGuiApplication::setApplicationDisplayName("Kanuvo");  // the title of message boxes
    kanuvo::InitPictureResources();

    kanuvo::QtClock clock;
    kanuvo::SdlSound sound;
    kanuvo::QtSystem system;
    system.AddShutdownHook([&sound] { sound.Shutdown(); });

    kanuvo::AppOptions options;
    options.startMuted = MuteAsked(argc, argv);
    options.settingsPath = kanuvo::PlayerSettings::DefaultPath();
    kanuvo::KanuvoApp app(clock, system, sound, options);
    system.SetCursorWindow(&app.form);
    app.Start();
    const int result = app.form.Closed() ? 0 : application.exec();
    sound.Shutdown();
    return result;
}
