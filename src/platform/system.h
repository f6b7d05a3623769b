// SPDX-License-Identifier: MIT
// System services the game calls: tick count, message boxes, ending, single copy, files, screen,
// picture resources, pointer shapes and sound.
//
// Each service is named by its role; the names the game's design gives the same calls:
//   Clock::Now              the tick count (GetTickCount)
//   ShowMessage             a message box with an OK button (MsgBox)
//   AnotherCopyRuns         App.PrevInstance
//   ProgramFolder           App.Path
//   ScreenHeight            Screen.Height, here in pixels rather than twips
//   LoadPicture             LoadResPicture
//   Pointer, SetPointer     the arrow pointer read and replaced (GetCursor, SetSystemCursor)
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "surface.h"
#include "text.h"

namespace kanuvo {

// Milliseconds since some fixed moment; 32 bits, wrapping. Tests drive a manual clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t Now() = 0;
};

// A pointer shape; 0 means none.
using CursorHandle = std::uintptr_t;

class System {
public:
    virtual ~System() = default;

    // A modal message with an OK button; returns when it is dismissed.
    virtual void ShowMessage(std::string_view utf8Text) = 0;
    // The text in the player's language, UTF-8. Unless told otherwise, the game speaks the Japanese
    // it is written in.
    virtual std::string Translate(const Text& text) { return text.source; }
    // Ends the program at once with the given exit status (EXIT_SUCCESS, or EXIT_FAILURE after a fatal
    // error), releasing the sound device and the single-copy lock. The real program never returns
    // from it; test doubles may throw. Callers return straight after it.
    virtual void End(int exitStatus) = 0;

    // True when another copy of the program is already running.
    virtual bool AnotherCopyRuns() = 0;
    // The folder that holds the program, without a trailing separator unless it is the root.
    virtual std::string ProgramFolder() = 0;

    // The screen's height in pixels.
    virtual int ScreenHeight() = 0;
    // The height in pixels the desktop leaves to windows: the screen less its panels.
    virtual int AvailableScreenHeight() = 0;

    // A picture from the program's own bitmap resources, or null when it cannot be loaded.
    virtual std::unique_ptr<Picture> LoadPicture(int id) = 0;

    // The best clear time of each stage in seconds, kept between sessions in the user's data folder;
    // none when no clear is kept or the store cannot be read. Saving keeps the others; a store that
    // cannot be read or written is reported in one line on standard error and otherwise ignored.
    virtual std::optional<int> LoadBestTime(int stage) = 0;
    virtual void SaveBestTime(int stage, int seconds) = 0;

    // Pointer shapes.
    virtual CursorHandle LoadPointerFile(std::string_view path) = 0;  // 0 when unreadable
    virtual CursorHandle Pointer() = 0;
    // The pointer shown over the game's window and its controls; false when the shape is unknown.
    virtual bool SetPointer(CursorHandle cursor) = 0;
};

// The game's music, one tune at a time, and its effects. Nothing here ever waits for the sound: a
// call that cannot be heard (no device, a missing or broken file) is silence, and the reason is said
// once on standard error.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void OpenMusic(const std::string& path) = 0;
    // Every play starts the tune from its first note, also while it plays.
    virtual void PlayMusicFromStart() = 0;
    virtual void StopMusic() = 0;
    virtual void CloseMusic() = 0;
    // In the background, with no default sound for a file that cannot be played; an effect that
    // still sounds is left alone and this one dropped.
    virtual void PlayEffect(const std::string& path) = 0;
    // True when the music's last play went on to the end of the tune; a stop does not change it. The
    // game asks when the sound comes back on: a tune that had ended is not played again.
    virtual bool MusicEnded() const = 0;
};

}  // namespace kanuvo
