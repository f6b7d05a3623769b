// SPDX-License-Identifier: MIT
// The player's choices kept between starts (whether the sound is muted, the language, the road
// assist, the window's size), in a small INI file.
#pragma once

#include <QString>

#include <initializer_list>
#include <optional>
#include <utility>

#include "platform/qt/language.h"
#include "platform/qt/main_form.h"

namespace kanuvo {

class PlayerSettings {
public:
    // kanuvo/kanuvo.ini in the user's configuration folder; empty when there is none.
    static QString DefaultPath();

    // An empty path keeps nothing. Tests give a scratch file.
    explicit PlayerSettings(QString path);

    // The stored choice; nothing when none is stored or the file cannot be trusted (not a plain
    // file, oversized, unreadable or not in the expected form), which is then ignored.
    std::optional<bool> Muted() const;
    // Keeps the choice. Something other than a file in its place is left alone, and so is a symbolic
    // link; a corrupt file is written over. A failed write (a full disk) keeps the old file and says
    // so in one line on standard error.
    void SetMuted(bool muted);

    // The language the player chose on the help page, kept and read as Muted is.
    std::optional<kanuvo::Language> Language() const;
    void SetLanguage(kanuvo::Language language);

    // Whether the road assist is on, kept and read as Muted is.
    std::optional<bool> RoadAssist() const;
    void SetRoadAssist(bool on);

    // The window's size and state as the player left it, kept and read as Muted is. Nothing when
    // none is kept or it is not in the expected form.
    std::optional<WindowPlacement> Window() const;
    void SetWindow(const WindowPlacement& placement);

private:
    // The value kept under key; empty when there is none or the file cannot be trusted.
    QString Read(const char* key) const;
    // A value kept as "true" or "false".
    std::optional<bool> ReadSwitch(const char* key) const;
    void Write(const char* key, const QString& value) { Write({{key, value}}); }
    // Several values at once, in one replacement of the file.
    void Write(std::initializer_list<std::pair<const char*, QString>> values);
    // Absent, or a regular file.
    bool Plain() const;
    // Larger than this file could ever be.
    bool Oversized() const;

    QString path_;
};

}  // namespace kanuvo
