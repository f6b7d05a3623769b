// SPDX-License-Identifier: MIT
// System services and sound in the browser: the page's clock, its messages, the single-copy lock,
// the player's data in the browser's storage, pointer shapes, pictures and sound.
#include "platform/web/web_system.h"

#include <emscripten.h>

#include <cstdlib>
#include <string>

#include "game/pictures.h"
#include "platform/web/web_form.h"
#include "platform/web/web_surface.h"

// The page's side of each call is in page.js.
EM_JS(void, kanuvo_message, (const char* text), { Kanuvo.page.message(UTF8ToString(text)); });
EM_JS(void, kanuvo_end, (int status), { Kanuvo.page.end(status); });
EM_JS(void, kanuvo_note, (const char* text), { Kanuvo.page.note(UTF8ToString(text)); });
EM_JS(int, kanuvo_another_copy, (), { return Kanuvo.page.anotherCopy ? 1 : 0; });
EM_JS(char*, kanuvo_english, (const char* context, const char* source), {
    const said = Kanuvo.page.english(UTF8ToString(context), UTF8ToString(source));
    if (said === null) return 0;
    const size = lengthBytesUTF8(said) + 1;
    const text = _malloc(size);
    stringToUTF8(said, text, size);
    return text;
});
EM_JS(int, kanuvo_best_time, (int stage), { return Kanuvo.store.bestTime(stage); });
EM_JS(int, kanuvo_save_best_time, (int stage, int seconds), { return Kanuvo.store.saveBestTime(stage, seconds); });
EM_JS(int, kanuvo_setting, (const char* name), { return Kanuvo.store.setting(UTF8ToString(name)); });
EM_JS(int, kanuvo_save_setting, (const char* name, int value), { return Kanuvo.store.saveSetting(UTF8ToString(name), value); });
EM_JS(int, kanuvo_load_pointer, (const char* name), { return Kanuvo.page.loadPointer(UTF8ToString(name)); });
EM_JS(void, kanuvo_set_pointer, (int handle), { Kanuvo.page.setPointer(handle); });
EM_JS(void, kanuvo_speak, (int english), { Kanuvo.page.speak(english); });
EM_JS(void, kanuvo_open_music, (const char* name), { Kanuvo.sound.openMusic(UTF8ToString(name)); });
EM_JS(void, kanuvo_play_music, (), { Kanuvo.sound.playMusic(); });
EM_JS(void, kanuvo_stop_music, (), { Kanuvo.sound.stopMusic(); });
EM_JS(void, kanuvo_close_music, (), { Kanuvo.sound.closeMusic(); });
EM_JS(int, kanuvo_music_ended, (), { return Kanuvo.sound.musicEnded() ? 1 : 0; });
EM_JS(void, kanuvo_play_effect, (const char* name), { Kanuvo.sound.playEffect(UTF8ToString(name)); });

namespace kanuvo {

namespace {

// What the storage calls answer besides a value.
constexpr int kNothingKept = -1;
constexpr int kStorageBlocked = -2;
constexpr int kSaveFailed = 1;

inline constexpr Text kNotKeptMessage =
    KANUVO_TEXT("Messages", "このブラウザーでは、ベストタイムと設定を保存できません。");

// A file's name without its folder and ending: the page knows its files by that name.
std::string BaseName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    const std::size_t dot = path.find_last_of('.');
    return std::string(path.substr(0, dot));
}

}  // namespace

std::uint32_t WebClock::Now() { return static_cast<std::uint32_t>(static_cast<std::uint64_t>(emscripten_get_now())); }

void WebSystem::ShowMessage(std::string_view utf8Text) { kanuvo_message(std::string(utf8Text).c_str()); }

std::string WebSystem::Translate(const Text& text) {
    if (!english_) return text.source;
    char* said = kanuvo_english(text.context, text.source);
    if (said == nullptr) return text.source;
    std::string result(said);
    std::free(said);
    return result;
}

void WebSystem::End(int exitStatus) {
    kanuvo_end(exitStatus);  // the page takes no more events and wakes: the game's callers return at once
}

bool WebSystem::AnotherCopyRuns() { return kanuvo_another_copy() != 0; }

int WebSystem::ScreenHeight() { return kWebScreenHeight; }

std::unique_ptr<Picture> WebSystem::LoadPicture(int id) {
    for (const PictureEntry& entry : kPictures) {
        if (entry.id != id) continue;
        // The pictures with words have an English drawing too.
        const bool worded = id == kTitlePictureId || id == kGameOverPictureId || id == kGameOverMaskId;
        const std::string file = (english_ && worded ? "en/" : "") + std::to_string(id);
        return std::make_unique<WebPicture>(file, entry.width, entry.height);
    }
    return nullptr;
}

void WebSystem::WarnNotKept() {
    if (warned_) return;
    warned_ = true;
    kanuvo_note(Translate(kNotKeptMessage).c_str());
}

std::optional<int> WebSystem::LoadBestTime(int stage) {
    const int seconds = kanuvo_best_time(stage);
    if (seconds == kStorageBlocked) WarnNotKept();
    if (seconds < 0) return std::nullopt;
    return seconds;
}

void WebSystem::SaveBestTime(int stage, int seconds) {
    if (kanuvo_save_best_time(stage, seconds) == kSaveFailed) WarnNotKept();
}

WebSettings WebSystem::LoadSettings() {
    WebSettings settings;
    const auto read = [this](const char* name) -> std::optional<bool> {
        const int value = kanuvo_setting(name);
        if (value == kStorageBlocked) WarnNotKept();
        if (value == kNothingKept || value == kStorageBlocked) return std::nullopt;
        return value != 0;
    };
    settings.muted = read("muted");
    settings.english = read("english");
    settings.roadAssist = read("roadAssist");
    return settings;
}

void WebSystem::SaveSettings(const WebSettings& settings) {
    bool failed = false;
    const auto write = [&failed](const char* name, const std::optional<bool>& value) {
        if (value) failed = kanuvo_save_setting(name, *value ? 1 : 0) == kSaveFailed || failed;
    };
    write("muted", settings.muted);
    write("english", settings.english);
    write("roadAssist", settings.roadAssist);
    if (failed) WarnNotKept();
}

void WebSystem::SpeakEnglish(bool english) {
    english_ = english;
    kanuvo_speak(english);
}

CursorHandle WebSystem::LoadPointerFile(std::string_view path) {
    return static_cast<CursorHandle>(kanuvo_load_pointer(BaseName(path).c_str()));
}

bool WebSystem::SetPointer(CursorHandle cursor) {
    if (cursor == 0) return false;
    cursor_ = cursor;
    kanuvo_set_pointer(static_cast<int>(cursor));
    return true;
}

void WebSound::OpenMusic(const std::string& path) { kanuvo_open_music(BaseName(path).c_str()); }
void WebSound::PlayMusicFromStart() { kanuvo_play_music(); }
void WebSound::StopMusic() { kanuvo_stop_music(); }
void WebSound::CloseMusic() { kanuvo_close_music(); }
void WebSound::PlayEffect(const std::string& path) { kanuvo_play_effect(BaseName(path).c_str()); }
bool WebSound::MusicEnded() const { return kanuvo_music_ended() != 0; }

}  // namespace kanuvo
