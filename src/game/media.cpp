// SPDX-License-Identifier: MIT
// Sound, music, pointer files and pictures: where they are found and how the game asks for them.
#include "game/media.h"

#include <cstdlib>
#include <string>

#include "game/pictures.h"

namespace kanuvo {

bool LoadSoundsAndCursors(Game& g) {
    const std::string path = g.system.ProgramFolder();
    if (path.empty()) {
        // Without the program's own folder there is nowhere to look for the files at all.
        Fail(g, KANUVO_TEXT("Messages", "サウンドデータ読み込みエラー"));
        return false;
    }
    // Exactly one separator between the program's folder and "sound", also at the root.
    const std::string folder = path + (path.back() == '/' ? "" : "/") + "sound/";
    // open "<folder>Shellshk.mid" type sequencer alias gBGMfile; a muted game leaves the sound untouched.
    if (g.SoundOff) {
        g.MusicHeldOpen = folder + "Shellshk.mid";
    } else {
        g.sound.OpenMusic(folder + "Shellshk.mid");
    }
    g.GameOverSoundPath = folder + "GameOvaer.wav";
    g.Stop1SoundPath = folder + "stop1.wav";
    g.Stop2SoundPath = folder + "stop2.wav";
    g.GoalSoundPath = folder + "goal.wav";
    g.HandCursor = g.system.LoadPointerFile(folder + "H_point.cur");
    g.NoDropCursor = g.system.LoadPointerFile(folder + "Nodrop01.cur");
    return true;
}

void PlaySound(Game& g, SoundId sound) {
    if (sound == SoundId::Music) {
        g.MusicOn = true;
        g.MusicHeard = !g.SoundOff;
    }
    if (g.SoundOff) return;
    switch (sound) {
        case SoundId::Music: g.sound.PlayMusicFromStart(); break;  // play gBGMfile from 0
        // Each effect with the flags 0x13: asynchronous, no default sound, a sounding effect left alone.
        case SoundId::GameOver: g.sound.PlayEffect(g.GameOverSoundPath); break;
        case SoundId::Stop1: g.sound.PlayEffect(g.Stop1SoundPath); break;
        case SoundId::Stop2: g.sound.PlayEffect(g.Stop2SoundPath); break;
        case SoundId::Goal: g.sound.PlayEffect(g.GoalSoundPath); break;
    }
}

void StopMusic(Game& g) {
    g.MusicOn = false;
    if (!g.SoundOff) g.sound.StopMusic();  // stop gBGMfile
    g.BoardReady = false;
}

void CloseMusic(Game& g) {
    g.MusicOn = false;
    g.MusicHeldOpen.clear();  // opened while muted: it never reached the sound
    if (!g.SoundOff) g.sound.CloseMusic();  // close gBGMfile
}

void SetSoundOff(Game& g, bool off) {
    if (off == g.SoundOff) return;
    g.SoundOff = off;
    if (off) {
        if (g.MusicOn) g.sound.StopMusic();
        return;  // an effect already sounding plays to its end
    }
    if (!g.MusicHeldOpen.empty()) g.sound.OpenMusic(g.MusicHeldOpen);
    g.MusicHeldOpen.clear();
    // The music the game has on plays again from its start, unless the sound heard it to its end; a
    // tune started while muted was never heard, whatever an earlier one did.
    if (g.MusicOn && !(g.MusicHeard && g.sound.MusicEnded())) {
        g.sound.PlayMusicFromStart();
        g.MusicHeard = true;
    }
}

bool LoadPictures(Game& g) {
    auto load = [&g](std::unique_ptr<Picture>& into, int id) {
        into = g.system.LoadPicture(id);
        return into != nullptr;
    };
    bool loaded = load(g.TitlePicture, kTitlePictureId);
    for (Direction d : kAllDirections) loaded = loaded && load(g.TruckPictures[DirectionCode(d)], TruckPictureId(d));
    for (Direction d : kAllDirections) loaded = loaded && load(g.TruckMasks[DirectionCode(d)], TruckMaskId(d));
    loaded = loaded && load(g.GameOverPicture, kGameOverPictureId);
    loaded = loaded && load(g.GameOverMask, kGameOverMaskId);
    if (!loaded) {
        Fail(g, KANUVO_TEXT("Messages", "画像データ読み込みエラー"));
        return false;
    }
    return true;
}

void Fail(Game& g, Text message) {
    g.system.ShowMessage(Say(g, message));
    // Whoever started the program learns that it failed.
    g.system.End(EXIT_FAILURE);
}

bool CopyArea(Game& g, Surface& to, const Surface& from, const Rect& area) {
    if (to.Copy(area.left, area.top, area.right - area.left, area.bottom - area.top, from, area.left, area.top))
        return true;
    Fail(g, kOutOfMemoryMessage);
    return false;
}

bool CopyBoard(Game& g) {
    const Surface& window = g.form.Canvas();
    return CopyArea(g, g.form.BoardCopy(), g.form.BoardView(), Rect{0, 0, window.PixelWidth(), window.PixelHeight()});
}

std::string Say(Game& g, Text text, std::string_view value) {
    std::string said = g.system.Translate(text);
    const std::size_t at = said.find("%1");
    if (at != std::string::npos) said.replace(at, 2, value);
    return said;
}

}  // namespace kanuvo
