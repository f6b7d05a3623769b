// SPDX-License-Identifier: MIT
// The player's choices in an INI file read and written through QSettings.
#include "app/settings.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <cstdio>

namespace kanuvo {

namespace {

constexpr char kMutedKey[] = "sound/muted";
// The file holds a line or two; anything much larger is not ours.
constexpr qint64 kMaxFileBytes = 64 * 1024;

void Ignoring(const QString& path, const char* why) {
    std::fprintf(stderr, "kanuvo: ignoring %s: %s\n", qUtf8Printable(path), why);
}

}  // namespace

QString PlayerSettings::DefaultPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder.isEmpty() ? QString() : folder + "/kanuvo/kanuvo.ini";
}

PlayerSettings::PlayerSettings(QString path) : path_(std::move(path)) {}

bool PlayerSettings::Plain() const {
    // A folder, a device or a pipe in its place could fail or block a reader: never opened.
    const QFileInfo info(path_);
    return !info.exists() || info.isFile();
}

bool PlayerSettings::Oversized() const { return QFileInfo(path_).size() > kMaxFileBytes; }

std::optional<bool> PlayerSettings::Muted() const {
    if (path_.isEmpty() || !QFileInfo::exists(path_)) return std::nullopt;
    if (!Plain() || Oversized()) {
        Ignoring(path_, "not a plain settings file");
        return std::nullopt;
    }
    const QSettings settings(path_, QSettings::IniFormat);
    const QString value = settings.value(kMutedKey).toString();
    if (settings.status() != QSettings::NoError) {
        Ignoring(path_, "unreadable or corrupt");
        return std::nullopt;
    }
    if (value == "true") return true;
    if (value == "false") return false;
    if (!value.isEmpty()) Ignoring(path_, "unexpected value");
    return std::nullopt;
}

void PlayerSettings::SetMuted(bool muted) {
    if (path_.isEmpty()) return;
    if (!Plain()) {
        Ignoring(path_, "not a plain settings file");
        return;
    }
    // Far too large to be ours: not worth reading, only replacing. A merely corrupt file is
    // written over, keeping whatever in it could be read.
    if (Oversized()) QFile::remove(path_);
    QSettings settings(path_, QSettings::IniFormat);
    settings.setValue(kMutedKey, muted);
    settings.sync();
    if (settings.status() == QSettings::AccessError) Ignoring(path_, "cannot be written");
}

}  // namespace kanuvo
