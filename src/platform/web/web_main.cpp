// SPDX-License-Identifier: MIT
// Kanuvo's entry point in the browser: the page's window, services and sound, and the game wired to
// the page's events.
#include <emscripten.h>

#include <cstdint>

#include "app/wire_events.h"
#include "game/texts.h"
#include "platform/captions.h"
#include "platform/choices.h"
#include "platform/web/web_form.h"
#include "platform/web/web_system.h"

EM_JS(void, kanuvo_touch_keys, (const char* sound, const char* assist, const char* language),
      { Kanuvo.page.touchKeys(UTF8ToString(sound), UTF8ToString(assist), UTF8ToString(language)); });
// 1 or 0 when the page's address asks for English or Japanese, -1 when it does not say.
EM_JS(int, kanuvo_asked_english, (), { return Kanuvo.page.askedEnglish(); });
EM_JS(int, kanuvo_browser_english, (), { return Kanuvo.page.browserEnglish(); });
EM_JS(void, kanuvo_first_frame, (), { Kanuvo.page.firstFrame(); });

namespace kanuvo {
namespace {

// A page has no keys on a phone: the help page offers the program's keys as buttons too.
inline constexpr Text kTouchSound = KANUVO_TEXT("Help", "M：サウンド");
inline constexpr Text kTouchAssist = KANUVO_TEXT("Help", "A：道アシスト");

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
        OfferTouchKeys();
        return true;
    }

    void OfferTouchKeys() {
        kanuvo_touch_keys(system.Translate(kTouchSound).c_str(), system.Translate(kTouchAssist).c_str(),
                          system.Translate(texts::kHelpLanguage).c_str());
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
        game.choices = this;
        WireEvents(form, game);
        // A tap on the F1 hint in the board's free corner is F1: a phone has no keys.
        form.BoardView().onMouseDown = [g = &game](int button, int x, int y) {
            const Rect corner = CornerArea(*g);
            if (x >= corner.left && x < corner.right && y >= corner.top && y < corner.bottom) {
                KeyDown(*g, kKeyHelp);
            } else {
                BoardMouseDown(*g, button, x, y);
            }
            AdvanceTime(*g);
        };
        OfferTouchKeys();
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

// Sets the game up and returns: from then on the page's events and the game's wakes drive it.
int main() {
    static kanuvo::WebApp app;
    kanuvo::app = &app;
    app.Run();
    return 0;
}
