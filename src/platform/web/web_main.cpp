// SPDX-License-Identifier: MIT
// Kanuvo's entry point in the browser: the page's window, services and sound, and the game wired to
// the page's events.
#include <emscripten.h>

#include <cstdint>

#include "app/wire_events.h"
#include "game/fast_forward.h"
#include "platform/captions.h"
#include "platform/choices.h"
#include "platform/web/web_form.h"
#include "platform/web/web_system.h"

EM_JS(void, kanuvo_control_names,
      (const char* help, const char* pause, const char* sound, const char* assist, const char* language,
       const char* fast), {
          Kanuvo.page.controlNames(UTF8ToString(help), UTF8ToString(pause), UTF8ToString(sound), UTF8ToString(assist),
                                   UTF8ToString(language), UTF8ToString(fast));
      });
EM_JS(int, kanuvo_touch_screen, (), { return Kanuvo.page.touchScreen() ? 1 : 0; });
// 1 or 0 when the page's address asks for English or Japanese, -1 when it does not say.
EM_JS(int, kanuvo_asked_english, (), { return Kanuvo.page.askedEnglish(); });
EM_JS(int, kanuvo_browser_english, (), { return Kanuvo.page.browserEnglish(); });
EM_JS(void, kanuvo_first_frame, (), { Kanuvo.page.firstFrame(); });

namespace kanuvo {
namespace {

// A phone has no keys: the page's controls stand for F1, P, M, A, L and F, named in the player's
// language. The language control names the language it switches to.
inline constexpr Text kHelpControl = KANUVO_TEXT("Controls", "ヘルプ");
inline constexpr Text kPauseControl = KANUVO_TEXT("Controls", "一時停止");
inline constexpr Text kSoundControl = KANUVO_TEXT("Controls", "サウンド");
inline constexpr Text kAssistControl = KANUVO_TEXT("Controls", "道アシスト");
inline constexpr Text kLanguageControl = KANUVO_TEXT("Controls", "English");
inline constexpr Text kFastForwardControl = KANUVO_TEXT("Controls", "早送り");

struct WebApp : Choices {
    WebApp() : game(form, system, clock, sound) {}

    WebClock clock;
    WebSystem system;
    WebForm form;
    WebSound sound;
    Game game;
    WebSettings settings;

    void KeepSoundOff(bool off) override {
        settings.muted = off;
        system.SaveSettings(settings);
    }
    void KeepRoadAssist(bool on) override {
        settings.roadAssist = on;
        system.SaveSettings(settings);
    }
    bool SwitchLanguage() override {
        system.SpeakEnglish(!system.English());
        settings.english = system.English();
        system.SaveSettings(settings);
        NameControls();
        return true;
    }

    void NameControls() {
        kanuvo_control_names(system.Translate(kHelpControl).c_str(), system.Translate(kPauseControl).c_str(),
                             system.Translate(kSoundControl).c_str(), system.Translate(kAssistControl).c_str(),
                             system.Translate(kLanguageControl).c_str(), system.Translate(kFastForwardControl).c_str());
    }

    // What the page's controls show, a bit each.
    int Controls() const {
        return (game.SoundOff ? 1 : 0) | (game.RoadAssist ? 2 : 0) | (game.Paused ? 4 : 0) | (game.Playing ? 8 : 0) |
               (game.HelpShown ? 16 : 0) | (CanFastForward(game) ? 32 : 0);
    }

    void Run() {
        settings = system.LoadSettings();
        // The language asked for, else the one the player chose last, else the browser's.
        const int asked = kanuvo_asked_english();
        system.SpeakEnglish(asked >= 0 ? asked == 1 : settings.english.value_or(kanuvo_browser_english() != 0));
        // The window was made before the language was known.
        form.ExitButton().SetCaption(system.Translate(kExitCaption));
        form.NewGameButton().SetCaption(system.Translate(kNewGameCaption));
        form.StartStopButton().SetCaption(system.Translate(kStartCaption));
        game.SoundOff = settings.muted.value_or(false);
        game.RoadAssist = settings.roadAssist.value_or(false);
        game.TouchScreen = kanuvo_touch_screen() != 0;
        game.choices = this;
        WireEvents(form, game);
        // A tap on the F1 hint in the board's free corner is F1: a phone has no keys. One on F's hint
        // below it is the game's, as a click is.
        form.BoardView().onMouseDown = [g = &game](int button, int x, int y) {
            const Rect corner = CornerArea(*g);
            if (x >= corner.left && x < corner.right && y >= corner.top && y < corner.bottom &&
                !OnFastForwardHint(*g, x, y)) {
                KeyDown(*g, kKeyHelp);
            } else {
                BoardMouseDown(*g, button, x, y);
            }
            AdvanceTime(*g);
        };
        NameControls();
        form.RaiseLoad();
        kanuvo_first_frame();
    }
};

WebApp* app = nullptr;

}  // namespace
}  // namespace kanuvo

// The page reports each thing that happens here, and the game takes it at once.
extern "C" EMSCRIPTEN_KEEPALIVE void KanuvoPost(int kind, int a, int b, int c, int d) {
    if (kanuvo::app != nullptr) kanuvo::app->form.Post(static_cast<kanuvo::PageEvent>(kind), a, b, c, d);
}

// The program's one timer has rung.
extern "C" EMSCRIPTEN_KEEPALIVE void KanuvoWake() { KanuvoPost(static_cast<int>(kanuvo::PageEvent::Wake), 0, 0, 0, 0); }

// What the page's controls for the keys show: the sound off (1), the road assist on (2), a run paused
// (4), a run going (8), the help page up (16), F would fast-forward the run (32).
extern "C" EMSCRIPTEN_KEEPALIVE int KanuvoControls() { return kanuvo::app != nullptr ? kanuvo::app->Controls() : 0; }

// The size the page gives the help page, in the window's pixels; 0 for the window's own. Returns 0
// while there is no game to take it yet.
extern "C" EMSCRIPTEN_KEEPALIVE int KanuvoHelpPage(int width, int height) {
    if (kanuvo::app == nullptr) return 0;
    kanuvo::app->game.HelpPageWidth = width;
    kanuvo::app->game.HelpPageHeight = height;
    return 1;
}

// Sets the game up and returns: from then on the page's events and the game's wakes drive it.
int main() {
    static kanuvo::WebApp app;
    kanuvo::app = &app;
    app.Run();
    return 0;
}
