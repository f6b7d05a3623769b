// SPDX-License-Identifier: MIT
// The languages the game speaks, which one a player gets, and the translation Qt reads it from.
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string_view>

#include "platform/text.h"

namespace kanuvo {

// Japanese is the game's own; English comes from the translation built from translations/kanuvo_en.ts.
enum class Language { Japanese, English };

// "ja" or "en", as --lang and the settings file write them; a locale name ("en_GB.UTF-8") counts by
// its language. Nothing for any other.
std::optional<Language> LanguageNamed(std::string_view name);
const char* LanguageCode(Language language);

// The language of the user's messages: LANGUAGE, a list, by its first entry that is English or
// Japanese, also under the C locale; else the first of LC_ALL, LC_MESSAGES and LANG that is set and
// not empty, English where it names English, else Japanese; the C or POSIX locale means Japanese.
Language LanguageOfLocale(const std::function<const char*(const char*)>& environment);
Language LanguageOfLocale();  // from the process's environment

// From now on the game speaks language: its translation is loaded, and Translated and the pictures
// follow it. False, and Japanese spoken, when the translation cannot be loaded. The window's thread
// only; needs no application object.
bool SpeakLanguage(Language language);
Language SpokenLanguage();

// The text in the spoken language: the Japanese source itself while Japanese is spoken.
QString Translated(const Text& text);

}  // namespace kanuvo
