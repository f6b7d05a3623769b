// SPDX-License-Identifier: MIT
// Kanuvo's entry point: the application, the window, the game, and the event loop until the window closes.
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "app/command_line.h"
#include "app/display.h"
#include "app/end_signals.h"
#include "app/kanuvo_app.h"
#include "app/picture_resources.h"
#include "app/sound_worker.h"
#include "app/settings.h"
#include "game/pictures.h"
#include "platform/qt/qt_system.h"

namespace {

constexpr int kSoundAtTheLatestMs = 1000;

}  // namespace

int main(int argc, char** argv) {
    // Answered before any window system is needed, so --help works on a bare terminal.
    const kanuvo::CommandLine options = kanuvo::ParseCommandLine(argc, argv);
    // The language asked for, else the one the player chose last, else the locale's.
    const QString settingsPath = kanuvo::PlayerSettings::DefaultPath();
    kanuvo::SpeakLanguage(options.language.value_or(
        kanuvo::PlayerSettings(settingsPath).Language().value_or(kanuvo::LanguageOfLocale())));
    if (options.action != kanuvo::CommandLine::Action::Play) return kanuvo::PrintReply(options);

    kanuvo::InitPictureResources();
    kanuvo::SendFramesThroughTheSocket();
    kanuvo::LeaveGlUnloaded();
    kanuvo::ExpectDisplay();
    QApplication application(argc, argv);
    kanuvo::DisplayOpened();
    int result = 0;
    {  // everything the game made is gone before the application object's end
        kanuvo::QtClock clock;
        kanuvo::QtSystem system;
        // The program's folder byte for byte: its name need not be valid UTF-8.
        kanuvo::SoundWorker sound(system.ProgramFolder() + "/kanuvo_sound.so", kanuvo::kBuiltSoundModuleDigest);
        QGuiApplication::setApplicationDisplayName("Kanuvo");  // the title of message boxes
        QGuiApplication::setDesktopFileName(KANUVO_APP_ID);     // ties the window to its menu entry

        system.AddShutdownHook([&sound] { sound.Shutdown(); });

        kanuvo::AppOptions appOptions;
        appOptions.startMuted = options.mute;
        appOptions.settingsPath = settingsPath;
        kanuvo::KanuvoApp app(clock, system, sound, appOptions);
        system.SetCursorWindow(&app.form);
        // Ended by the session, the game leaves as through its close box: music stopped, lock given up.
        // A message box (another copy is running, say) is answered first: one shown before the window
        // runs a loop of its own, which the window's closing does not end.
        kanuvo::EndOnSessionSignals(&app.form, [&app] {
            if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) box->reject();
            app.form.Close();
        });
        // The title needs neither the window's icon nor the sound: both come once it is on screen, and the
        // sound libraries load on a thread of their own meanwhile.
        app.form.onFirstFrame = [&sound] {
            QApplication::setWindowIcon(kanuvo::WindowIcon());
            sound.StartLoading();
        };
        app.Start();
        // A copy without a lock keeps nothing rather than overwrite another's settings; the copy that
        // holds it removes what a write cut short by an earlier copy's end left behind.
        if (!system.KeepsRecords()) {
            app.settings = kanuvo::PlayerSettings(QString());
        } else if (!app.form.Closed()) {
            app.settings.RemoveLeftovers();
        }
        // A window that is never painted (hidden at once, say) still gets its sound, a moment later.
        QTimer::singleShot(kSoundAtTheLatestMs, &app.form, [&sound] { sound.StartLoading(); });
        result = app.form.Closed() ? 0 : application.exec();
        // A sound thread that cannot finish (a sound server that never answers, a module still loading
        // from a slow disk) is left behind: the lock is given up and the program ends at once.
        if (!sound.Shutdown()) system.End(result);
    }
    return kanuvo::LeaveDisplay(result);
}
