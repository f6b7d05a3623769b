// SPDX-License-Identifier: MIT
// Choosing the player's language, and the translation every text of the game is looked up in.
#include "platform/qt/language.h"

#include <QTranslator>

#include <cstdlib>
#include <memory>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterTranslations() { Q_INIT_RESOURCE(kanuvo_qt_translations); }

namespace kanuvo {

namespace {

constexpr char kEnglishTranslation[] = ":/i18n/kanuvo_en.qm";

// The one translation of the program, like the one list of translators Qt keeps; the window's
// thread sets it before anything reads it.
struct Speaking {
    Language language = Language::Japanese;
    std::unique_ptr<QTranslator> translator;  // none while Japanese is spoken
};
Speaking g_speaking;

}  // namespace

std::optional<Language> LanguageNamed(std::string_view name) {
    const std::string_view language = name.substr(0, name.find_first_of("_.@-"));
    if (language == "ja") return Language::Japanese;
    if (language == "en") return Language::English;
    return std::nullopt;
}

const char* LanguageCode(Language language) { return language == Language::English ? "en" : "ja"; }

Language LanguageOfLocale(const std::function<const char*(const char*)>& environment) {
    const auto variable = [&environment](const char* name) {
        const char* value = environment(name);
        return std::string_view(value != nullptr ? value : "");
    };
    // LANGUAGE counts under the C locale too: the player named the language, and the reason other
    // programs pass it over there (no character set to show a translation in) is none for a game
    // that draws its own letters.
    for (std::string_view list = variable("LANGUAGE"); !list.empty();) {
        const std::size_t colon = list.find(':');
        if (const auto language = LanguageNamed(list.substr(0, colon))) return *language;
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    // The C and POSIX locales name no language, and mean Japanese as every other does but English.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const std::string_view locale = variable(name); !locale.empty()) {
            return LanguageNamed(locale).value_or(Language::Japanese);
        }
    }
    return Language::Japanese;
}

Language LanguageOfLocale() { return LanguageOfLocale([](const char* name) { return std::getenv(name); }); }

bool SpeakLanguage(Language language) {
    if (language == Language::Japanese) {
        g_speaking = {};
        return true;
    }
    RegisterTranslations();
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QString::fromLatin1(kEnglishTranslation))) {
        g_speaking = {};
        return false;
    }
    g_speaking = {language, std::move(translator)};
    return true;
}

Language SpokenLanguage() { return g_speaking.language; }

QString Translated(const Text& text) {
    if (g_speaking.translator) {
        QString said = g_speaking.translator->translate(text.context, text.source);
        if (!said.isEmpty()) return said;
    }
    return QString::fromUtf8(text.source);
}

}  // namespace kanuvo
