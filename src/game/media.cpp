// Sound, music, pointer files and pictures: where they are found and how the game asks for them.
#include "game/media.h"

#include <cstdlib>
#include <string>

namespace kanuvo {

namespace {

constexpr unsigned kEffectFlags = kSndAsync | kSndNoDefault | kSndNoStop;  // 0x13
constexpr const char* kPlayCommand = "play gBGMfile from 0 ";
constexpr const char* kStopCommand = "stop gBGMfile ";
constexpr const char* kCloseCommand = "close gBGMfile ";

constexpr int kTitlePictureId = 109;
constexpr int kFirstTruckPictureId = 101;
constexpr int kFirstTruckMaskId = 105;
constexpr int kGameOverPictureId = 110;
constexpr int kGameOverMaskId = 111;

}  // namespace

bool LoadSoundsAndCursors(Game& g) {
    const std::string path = g.system.Path();
    if (path.empty()) {
        // Without the program's own folder there is nowhere to look for the files at all.
        Fail(g, "サウンドデータ読み込みエラー");
        return false;
    }
    // Exactly one separator between the program's folder and "sound", also at the root.
    const std::string folder = path + (path.back() == '/' ? "" : "/") + "sound/";
    g.sound.mciSendStringA("open \"" + folder + "Shellshk.mid\" type sequencer alias gBGMfile");
    g.GameOverSoundPath = folder + "GameOvaer.wav";
    g.Stop1SoundPath = folder + "stop1.wav";
    g.Stop2SoundPath = folder + "stop2.wav";
    g.GoalSoundPath = folder + "goal.wav";
    g.HandCursor = g.system.LoadCursorFromFileA(folder + "H_point.cur");
    g.NoDropCursor = g.system.LoadCursorFromFileA(folder + "Nodrop01.cur");
    return true;
}

void PlaySound(Game& g, int n) {
    switch (n) {
        case SoundMusic: g.sound.mciSendStringA(kPlayCommand); break;
        case SoundGameOver: g.sound.sndPlaySoundA(g.GameOverSoundPath, kEffectFlags); break;
        case SoundStop1: g.sound.sndPlaySoundA(g.Stop1SoundPath, kEffectFlags); break;
        case SoundStop2: g.sound.sndPlaySoundA(g.Stop2SoundPath, kEffectFlags); break;
        case SoundGoal: g.sound.sndPlaySoundA(g.GoalSoundPath, kEffectFlags); break;
        default: break;
    }
}

void StopMusic(Game& g) {
    g.sound.mciSendStringA(kStopCommand);
    g.BoardReady = false;
}

void CloseMusic(Game& g) { g.sound.mciSendStringA(kCloseCommand); }

bool LoadPictures(Game& g) {
    auto load = [&g](std::unique_ptr<Picture>& into, int id) {
        into = g.system.LoadResPicture(id);
        return into != nullptr;
    };
    bool loaded = load(g.TitlePicture, kTitlePictureId);
    for (int i = 1; i <= 4 && loaded; ++i) loaded = load(g.TruckPictures[i], kFirstTruckPictureId + i - 1);
    for (int i = 1; i <= 4 && loaded; ++i) loaded = load(g.TruckMasks[i], kFirstTruckMaskId + i - 1);
    loaded = loaded && load(g.GameOverPicture, kGameOverPictureId);
    loaded = loaded && load(g.GameOverMask, kGameOverMaskId);
    if (!loaded) {
        Fail(g, "画像データ読み込みエラー");
        return false;
    }
    return true;
}

void Fail(Game& g, const char* message) {
    g.system.MsgBox(message);
    // Whoever started the program learns that it failed.
    g.system.End(EXIT_FAILURE);
}

}  // namespace kanuvo
