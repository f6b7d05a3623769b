// SPDX-License-Identifier: MIT
// Kanuvo's entry point in the browser: the page's window, services and sound, the game wired to the
// page's events, and the page's event loop, asleep until something happens.
#include <emscripten.h>

#include <cstdint>

#include "app/muted_sound.h"
#include "game/assist.h"
#include "game/corner.h"
#include "game/flow.h"
#include "game/game.h"
#include "game/help.h"
#include "game/play.h"
#include "game/texts.h"
#include "platform/captions.h"
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

// The keys the program answers itself, at any time, besides the game.
constexpr int kKeyMute = 'M';
constexpr int kKeyAssist = 'A';

// A page has no keys on a phone: the help page offers the program's keys as buttons too.
inline constexpr Text kTouchSound = KANUVO_TEXT("Help", "M：サウンド");
inline constexpr Text kTouchAssist = KANUVO_TEXT("Help", "A：道アシスト");

// How long the loop outside a run sleeps at most: as good as for ever, yet a signed tick difference.
constexpr std::uint32_t kForeverMs = 1u << 30;

struct WebApp {
    WebApp() : sound(device), game(form, system, clock, sound) {}

    WebClock clock;
    WebSystem system;
    WebForm form{clock};
    WebSound device;
    MutableSound sound;
    Game game;
    WebSettings settings;

    void ProgramKey(int keyCode) {
        if (keyCode == kKeyMute) {
            sound.SetMuted(!sound.Muted());
            settings.muted = sound.Muted();
            system.SaveSettings(settings);
            ShowSoundState(game, sound.Muted());
        }
        if (keyCode == kKeyAssist) {
            ToggleRoadAssist(game);
            settings.roadAssist = game.RoadAssist;
            system.SaveSettings(settings);
        }
        // The language is switched on the help page, which names the key.
        if (keyCode == kKeyLanguage && game.HelpShown) {
            system.SpeakEnglish(!system.English());
            settings.english = system.English();
            system.SaveSettings(settings);
            RewordWindow(game);
            if (game.HelpShown) DrawHelpPage(game);
            OfferTouchKeys();
        }
    }

    void OfferTouchKeys() {
        kanuvo_touch_keys(system.Translate(kTouchSound).c_str(), system.Translate(kTouchAssist).c_str(),
                          system.Translate(texts::kHelpLanguage).c_str());
    }

    void Wire() {
        Game* g = &game;
        // F1 and the program's keys work everywhere, title screen and help page included; on the
        // board they are also keys of the game, which it gets first.
        form.onKeyDown = [this, g](int keyCode) {
            ProgramKey(keyCode);
            if (keyCode == kKeyHelp) ShowHelp(*g);
        };
        form.BoardView().onKeyDown = [this, g](int keyCode) {
            BoardKeyDown(*g, keyCode);
            ProgramKey(keyCode);
            if (keyCode == kKeyHelp) ShowHelp(*g);
        };
        form.HelpView().onKeyDown = [this, g](int keyCode) {
            ProgramKey(keyCode);
            HelpKeyDown(*g, keyCode);
        };
        form.HelpView().onMouseDown = [g](int, int, int) { CloseHelp(*g); };
        form.onLoad = [g] { FormLoad(*g); };
        form.onQueryUnload = [g] { FormQueryUnload(*g); };
        form.onMouseDown = [g] { FormMouseDown(*g); };
        form.onResize = [g] { FormResize(*g); };
        form.ExitButton().onClick = [g] { ExitClick(*g); };
        form.NewGameButton().onClick = [g] { NewGameClick(*g); };
        form.StartStopButton().onClick = [g] { StartStopClick(*g); };
        form.ExitButton().onMouseMove = [g] { ExitMouseMove(*g); };
        form.NewGameButton().onMouseMove = [g] { NewGameMouseMove(*g); };
        form.StartStopButton().onMouseMove = [g] { StartStopMouseMove(*g); };
        form.BoardView().onMouseMove = [g] { BoardMouseMove(*g); };
        // A tap on the F1 hint in the board's free corner is F1: a phone has no keys.
        form.BoardView().onMouseDown = [g](int button, int x, int y) {
            const Rect corner = CornerArea(*g);
            if (x >= corner.left && x < corner.right && y >= corner.top && y < corner.bottom) {
                ShowHelp(*g);
                return;
            }
            BoardMouseDown(*g, button, x, y);
        };
        form.TitleTimer().onTimer = [g] { TitleTick(*g); };
        form.TimeLimitTimer().onTimer = [g] { TimeLimitTick(*g); };
        form.GameOverTimer().onTimer = [g] { GameOverTick(*g); };
        form.NoteTimer().onTimer = [g] { NoteTick(*g); };
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
        sound.SetMuted(settings.muted.value_or(false));
        game.SoundOff = sound.Muted();
        game.RoadAssist = settings.roadAssist.value_or(false);
        Wire();
        OfferTouchKeys();
        form.RaiseLoad();
        kanuvo_first_frame();
        while (!form.Closed()) form.WaitForEvents(clock.Now() + kForeverMs);
    }
};

WebApp* app = nullptr;

}  // namespace
}  // namespace kanuvo

// The page reports each thing that happens here; the game takes it at its next dispatch.
extern "C" EMSCRIPTEN_KEEPALIVE void KanuvoPost(int kind, int a, int b, int c, int d) {
    if (kanuvo::app != nullptr) kanuvo::app->form.Post(static_cast<kanuvo::PageEvent>(kind), a, b, c, d);
}

int main() {
    static kanuvo::WebApp app;
    kanuvo::app = &app;
    app.Run();
    return 0;
}
