// SPDX-License-Identifier: MIT
// System services and sound in the browser: the page's clock, its messages, the single-copy lock,
// the player's data in the browser's storage, pointer shapes, pictures and sound.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/system.h"

namespace kanuvo {

class WebClock : public Clock {
public:
    std::uint32_t Now() override;
};

// What the player chose and keeps between visits.
struct WebSettings {
    std::optional<bool> muted;
    std::optional<bool> english;
    std::optional<bool> roadAssist;
};

class WebSystem : public System {
public:
    void ShowMessage(std::string_view utf8Text) override;
    std::string Translate(const Text& text) override;
    // The page stops: nothing runs any more, and the page says the game has ended.
    void End(int exitStatus) override;
    bool AnotherCopyRuns() override;
    std::string ProgramFolder() override { return "/kanuvo"; }
    int ScreenHeight() override;
    int AvailableScreenHeight() override { return ScreenHeight(); }
    std::unique_ptr<Picture> LoadPicture(int id) override;
    std::optional<int> LoadBestTime(int stage) override;
    void SaveBestTime(int stage, int seconds) override;
    CursorHandle LoadPointerFile(std::string_view path) override;
    CursorHandle Pointer() override { return cursor_; }
    bool SetPointer(CursorHandle cursor) override;

    // The language the page speaks: English when true.
    void SpeakEnglish(bool english);
    bool English() const { return english_; }

    // The player's choices, kept in the browser's storage as the best times are.
    WebSettings LoadSettings();
    void SaveSettings(const WebSettings& settings);

private:
    // Says once, in the player's language, that the browser keeps nothing of this game.
    void WarnNotKept();

    bool english_ = false;
    bool warned_ = false;
    CursorHandle cursor_ = 1;  // the page's own arrow
};

// Music and effects through the page's audio: the tune rendered at build time and decoded by the
// browser, played from its first sample; one effect at a time.
class WebSound : public Sound {
public:
    void OpenMusic(const std::string& path) override;
    void PlayMusicFromStart() override;
    void StopMusic() override;
    void CloseMusic() override;
    void PlayEffect(const std::string& path) override;
    bool MusicEnded() const override;
};

}  // namespace kanuvo
