// SPDX-License-Identifier: MIT
// The player's choices in an INI file read through QSettings, and written by it into a scratch copy
// that then replaces the file whole, or not at all.
#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

#include "platform/regular_file.h"

namespace kanuvo {

namespace {

constexpr char kMutedKey[] = "sound/muted";
constexpr char kLanguageKey[] = "display/language";
constexpr char kRoadAssistKey[] = "play/road_assist";
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

void PlayerSettings::Write(const char* key, const QString& value) {
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
        settings.setValue(key, value);
    }
    QFile written(copy);
    if (QSettings(copy, QSettings::IniFormat).value(key).toString() != value ||
        !written.open(QIODevice::ReadOnly)) {
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
