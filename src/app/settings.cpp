// SPDX-License-Identifier: MIT
// The player's choices in an INI file of "[section]" and "key=value" lines, read whole or not at all,
// and replaced whole or not at all.
#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <cstdio>
#include <unistd.h>

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

QString Where(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

// The file as read: its lines, and the value of each key in them.
struct PlayerSettings::Contents {
    enum class State { Missing, Read, NotReadWhole, Unreadable } state = State::Missing;
    QStringList lines;
    std::map<QString, QString> values;  // by "section/name"
    QString why;                        // why it is not read whole
};

QString PlayerSettings::DefaultPath() {
    const std::string folder = UserFolder("XDG_CONFIG_HOME", ".config");
    return folder.empty() ? QString() : QFile::decodeName(folder.c_str()) + "/kanuvo/kanuvo.ini";
}

PlayerSettings::PlayerSettings(QString path) : path_(std::move(path)) {}

void PlayerSettings::Say(const QString& line) const {
    if (line == lastSaid_) return;
    lastSaid_ = line;
    std::fprintf(stderr, "kanuvo: %s\n", qUtf8Printable(line));
}

PlayerSettings::Contents PlayerSettings::ReadFile() const {
    Contents read;
    const QFileInfo info(path_);
    if (path_.isEmpty() || !info.exists()) return read;
    // A folder, a device or a pipe in its place could fail or block a reader: never opened.
    read.state = Contents::State::Unreadable;
    if (!info.isFile()) {
        read.why = QStringLiteral("not a plain settings file");
        return read;
    }
    read.state = Contents::State::NotReadWhole;
    if (info.size() > kMaxFileBytes) {
        read.why = QStringLiteral("larger than %1 KiB").arg(kMaxFileBytes / 1024);
        return read;
    }
    const std::string file = QFile::encodeName(path_).toStdString();
    const auto bytes = ReadRegularFile(file, kMaxFileBytes);
    if (!bytes) {
        read.state = Contents::State::Unreadable;
        read.why = QString::fromLocal8Bit(RegularFileProblem(file, kMaxFileBytes));
        return read;
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(QByteArrayView(bytes->data(), static_cast<qsizetype>(bytes->size())));
    static const QRegularExpression controls(QStringLiteral("[\\x00-\\x08\\x0b\\x0c\\x0e-\\x1f\\x7f]"));
    if (utf8.hasError() || text.contains(controls)) {
        read.why = QStringLiteral("not text");
        return read;
    }
    // Every line is read, or none: a broken line leaves the ones after it in doubt.
    read.lines = text.split(QLatin1Char('\n'));
    QString section;
    for (qsizetype n = 0; n < read.lines.size(); ++n) {
        const QString line = read.lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'))) continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char('['))) {
            section = line.mid(1, line.size() - 2).trimmed();
            if (!line.endsWith(QLatin1Char(']')) || section.isEmpty() || section.contains(QLatin1Char('[')) ||
                section.contains(QLatin1Char(']'))) {
                read.why = QStringLiteral("line %1 is a broken section").arg(n + 1);
                return read;
            }
        } else if (equals <= 0) {
            read.why = QStringLiteral("line %1 is neither a section nor a setting").arg(n + 1);
            return read;
        } else {
            const QString key = (section.isEmpty() ? QString() : section + QLatin1Char('/')) + line.left(equals).trimmed();
            if (!read.values.emplace(key, line.mid(equals + 1).trimmed()).second) {
                read.why = QStringLiteral("line %1 sets %2 a second time").arg(n + 1).arg(key);
                return read;
            }
        }
    }
    read.state = Contents::State::Read;
    return read;
}

QString PlayerSettings::Read(const char* key) const {
    const Contents read = ReadFile();
    if (read.state != Contents::State::Read) {
        if (read.state != Contents::State::Missing) Say(QStringLiteral("ignoring %1: %2").arg(Where(path_), read.why));
        return {};
    }
    const auto value = read.values.find(QString::fromLatin1(key));
    return value == read.values.end() ? QString() : value->second;
}

std::optional<bool> PlayerSettings::ReadSwitch(const char* key) const {
    const QString value = Read(key);
    if (value == "true") return true;
    if (value == "false") return false;
    if (!value.isEmpty()) Say(QStringLiteral("ignoring %1 in %2: unexpected value").arg(QString::fromLatin1(key), Where(path_)));
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
    if (!language) Say(QStringLiteral("ignoring %1 in %2: unexpected value").arg(QString::fromLatin1(kLanguageKey), Where(path_)));
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
        Say(QStringLiteral("ignoring the window's size in %1: unexpected value").arg(Where(path_)));
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
    const std::string file = QFile::encodeName(path_).toStdString();
    const auto notSaved = [this](const QString& why) {
        Say(QStringLiteral("settings not saved to %1: %2; the old file is kept").arg(Where(path_), why));
    };
    Contents read = ReadFile();
    if (read.state == Contents::State::Unreadable) return notSaved(read.why);
    // A file the game ignored is kept for the player before a new one takes its place. A symbolic
    // link stays where it is: the write below refuses to write through it.
    if (read.state == Contents::State::NotReadWhole && !QFileInfo(path_).isSymLink()) {
        std::string why;
        const std::string aside = MoveAside(file, why);
        if (aside.empty()) return notSaved(QStringLiteral("it could not be kept aside: ") + QString::fromLocal8Bit(why));
        Say(QStringLiteral("settings in %1 could not be read whole (%2): kept as %3")
                .arg(Where(path_), read.why, Where(QFile::decodeName(aside.c_str()))));
        read = Contents();
    }
    // Each key's line changes, or joins the end of its section, or a new section at the end.
    QStringList& lines = read.lines;
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
    for (const auto& [key, value] : values) {
        const QString name = QString::fromLatin1(key);
        const QString section = name.section(QLatin1Char('/'), 0, 0), entry = name.section(QLatin1Char('/'), 1);
        const QString line = QStringLiteral("%1=%2").arg(entry, value);
        qsizetype insertAt = -1;
        QString current;
        for (qsizetype n = 0; n < lines.size(); ++n) {
            const QString text = lines[n].trimmed();
            if (text.startsWith(QLatin1Char('['))) {
                current = text.mid(1, text.size() - 2).trimmed();
            } else if (current == section && text.section(QLatin1Char('='), 0, 0).trimmed() == entry) {
                lines[n] = line;
                insertAt = -2;
                break;
            }
            if (current == section && !text.isEmpty()) insertAt = n + 1;
        }
        if (insertAt >= 0) {
            lines.insert(insertAt, line);
        } else if (insertAt == -1) {
            if (!lines.isEmpty()) lines << QString();
            lines << QStringLiteral("[%1]").arg(section) << line;
        }
    }
    QDir().mkpath(QFileInfo(path_).absolutePath());
    std::string why;
    if (!ReplaceFileWhole(file, lines.join(QLatin1Char('\n')).toStdString() + "\n", why)) {
        notSaved(QString::fromLocal8Bit(why));
    }
}

void PlayerSettings::RemoveLeftovers() const {
    if (path_.isEmpty()) return;
    RemoveLeftoverTemporaries(QFile::encodeName(path_).toStdString());
    // Earlier versions wrote their copy in a folder of their own in the temporary folder, kanuvo-XXXXXX
    // holding kanuvo.ini, which an end in the middle of a write left behind.
    static const QRegularExpression scratch(QStringLiteral("^kanuvo-[A-Za-z0-9]{6}$"));
    for (const QFileInfo& folder : QDir(QDir::tempPath()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (!scratch.match(folder.fileName()).hasMatch() || folder.isSymLink() || folder.ownerId() != ::geteuid()) continue;
        QDir copy(folder.absoluteFilePath());
        const QStringList held = copy.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        if (held.isEmpty() || held == QStringList{QStringLiteral("kanuvo.ini")}) copy.removeRecursively();
    }
}

}  // namespace kanuvo
