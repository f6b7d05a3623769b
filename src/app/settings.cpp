// SPDX-License-Identifier: MIT
// The player's choices in an INI file read through QSettings, and written by it into a scratch copy
// that then replaces the file whole, or not at all.
#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include "platform/regular_file.h"

namespace kanuvo {

namespace {

constexpr char kMutedKey[] = "sound/muted";
constexpr char kLanguageKey[] = "display/language";
constexpr char kRoadAssistKey[] = "play/road_assist";
constexpr char kWindowSizeKey[] = "window/size";
constexpr char kWindowStateKey[] = "window/state";
// The window's states, as kept.
constexpr char kNormal[] = "normal", kMaximized[] = "maximized", kFullScreen[] = "fullscreen";
// The file holds a line or two; anything much larger is not ours.
constexpr qint64 kMaxFileBytes = 64 * 1024;

void Ignoring(const QString& path, const char* why) {
    std::fprintf(stderr, "kanuvo: ignoring %s: %s\n", qUtf8Printable(path), why);
}

void NotSaved(const QString& path, const char* why) {
    std::fprintf(stderr, "kanuvo: settings not saved to %s: %s; the old file is kept\n", qUtf8Printable(path), why);
}

}  // namespace

QString PlayerSettings::DefaultPath() {
    const std::string folder = UserFolder("XDG_CONFIG_HOME", ".config");
    return folder.empty() ? QString() : QFile::decodeName(folder.c_str()) + "/kanuvo/kanuvo.ini";
}

PlayerSettings::PlayerSettings(QString path) : path_(std::move(path)) {}

bool PlayerSettings::Plain() const {
    // A folder, a device or a pipe in its place could fail or block a reader: never opened.
    const QFileInfo info(path_);
    return !info.exists() || info.isFile();
}

bool PlayerSettings::Oversized() const { return QFileInfo(path_).size() > kMaxFileBytes; }

QString PlayerSettings::Read(const char* key) const {
    if (path_.isEmpty() || !QFileInfo::exists(path_)) return {};
    if (!Plain() || Oversized()) {
        Ignoring(path_, "not a plain settings file");
        return {};
    }
    const QSettings settings(path_, QSettings::IniFormat);
    const QString value = settings.value(key).toString();
    if (settings.status() != QSettings::NoError) {
        Ignoring(path_, "unreadable or corrupt");
        return {};
    }
    return value;
}

std::optional<bool> PlayerSettings::ReadSwitch(const char* key) const {
    const QString value = Read(key);
    if (value == "true") return true;
    if (value == "false") return false;
    if (!value.isEmpty()) Ignoring(path_, "unexpected value");
    return std::nullopt;
}

std::optional<bool> PlayerSettings::Muted() const { return ReadSwitch(kMutedKey); }
void PlayerSettings::SetMuted(bool muted) { Write(kMutedKey, muted ? "true" : "false"); }
std::optional<bool> PlayerSettings::RoadAssist() const { return ReadSwitch(kRoadAssistKey); }
void PlayerSettings::SetRoadAssist(bool on) { Write(kRoadAssistKey, on ? "true" : "false"); }

std::optional<kanuvo::Language> PlayerSettings::Language() const {
    const QString value = Read(kLanguageKey);
    if (value.isEmpty()) return std::nullopt;
    const auto language = LanguageNamed(value.toStdString());
    if (!language) Ignoring(path_, "unexpected value");
    return language;
}

void PlayerSettings::SetLanguage(kanuvo::Language language) { Write(kLanguageKey, LanguageCode(language)); }

std::optional<WindowPlacement> PlayerSettings::Window() const {
    const QString size = Read(kWindowSizeKey), state = Read(kWindowStateKey);
    if (size.isEmpty() && state.isEmpty()) return std::nullopt;
    // "width x height" in pixels, each a plain number.
    static const QRegularExpression kSize(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = kSize.match(size);
    const bool known = state == kNormal || state == kMaximized || state == kFullScreen;
    if (!match.hasMatch() || !known) {
        Ignoring(path_, "unexpected value");
        return std::nullopt;
    }
    WindowPlacement placement;
    placement.size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
    placement.maximized = state == kMaximized;
    placement.fullScreen = state == kFullScreen;
    return placement;
}

void PlayerSettings::SetWindow(const WindowPlacement& placement) {
    const char* state = placement.fullScreen ? kFullScreen : placement.maximized ? kMaximized : kNormal;
    Write({{kWindowSizeKey, QStringLiteral("%1x%2").arg(placement.size.width()).arg(placement.size.height())},
           {kWindowStateKey, QString::fromLatin1(state)}});
}

void PlayerSettings::Write(std::initializer_list<std::pair<const char*, QString>> values) {
    if (path_.isEmpty()) return;
    if (!Plain()) {
        Ignoring(path_, "not a plain settings file");
        return;
    }
    // QSettings writes into a copy, keeping whatever in the file it could read (a file far too large
    // to be ours is not worth reading, only replacing), and the copy must read back with the choice
    // before it replaces the file: QSettings does not say when a full disk left it empty.
    const QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("kanuvo.ini"));
    if (!scratch.isValid() || (QFileInfo::exists(path_) && !Oversized() && !QFile::copy(path_, copy))) {
        NotSaved(path_, "no room for a copy to write in");
        return;
    }
    {
        QSettings settings(copy, QSettings::IniFormat);
        for (const auto& [key, value] : values) settings.setValue(key, value);
    }
    QFile written(copy);
    const QSettings check(copy, QSettings::IniFormat);
    const bool kept = std::all_of(values.begin(), values.end(),
                                  [&check](const auto& kv) { return check.value(kv.first).toString() == kv.second; });
    if (!kept || !written.open(QIODevice::ReadOnly)) {
        NotSaved(path_, "the copy could not be written");
        return;
    }
    std::string why;
    QDir().mkpath(QFileInfo(path_).absolutePath());
    if (!ReplaceFileWhole(QFile::encodeName(path_).toStdString(), written.readAll().toStdString(), why)) {
        NotSaved(path_, why.c_str());
    }
}

}  // namespace kanuvo
