// SPDX-License-Identifier: MIT
// The player's choices kept between starts (whether the sound is muted, the language, the road
// assist, the window's size), in a small INI file.
#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <map>
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

    // The stored choice; nothing when none is stored or the file cannot be trusted, which is then
    // ignored whole: not a plain file, oversized, unreadable, or not in the form "[section]" and
    // "key=value" lines throughout.
    std::optional<bool> Muted() const;
    // Keeps the choice, and every other line of the file as it is. A file that was ignored whole is
    // first kept aside under a name that says so (one line on standard error names both), so that
    // nothing the player kept is lost. Something other than a file in its place is left alone, and so
    // is a symbolic link. A failed write (a full disk) keeps the old file and says so in one line on
    // standard error.
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

    // Removes what a write cut short by the end of an earlier run left: a temporary file beside the
    // settings, and the scratch folders earlier versions wrote their copy in. Only for the copy that
    // holds the single-copy lock.
    void RemoveLeftovers() const;

private:
    struct Contents;
    Contents ReadFile() const;
    // The value kept under key ("section/name"); empty when there is none or the file cannot be trusted.
    QString Read(const char* key) const;
    // A value kept as "true" or "false".
    std::optional<bool> ReadSwitch(const char* key) const;
    void Write(const char* key, const QString& value) { Write({{key, value}}); }
    // Several values at once, in one replacement of the file.
    void Write(std::initializer_list<std::pair<const char*, QString>> values);
    // One line on standard error for a problem, however often the game runs into it.
    void Say(const QString& line) const;

    QString path_;
    mutable QString lastSaid_;
};

}  // namespace kanuvo
