// SPDX-License-Identifier: MIT
// Best clear times kept between sessions in a small JSON file, replaced whole or not at all.
#include "platform/qt/best_times_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cstdio>

#include "platform/regular_file.h"

namespace kanuvo {

namespace {

constexpr qint64 kMaxStoreBytes = 64 * 1024;  // a store of nine times is a few hundred bytes
constexpr int kFirstStage = 1, kLastStage = 9;
constexpr int kMaxSeconds = 180;  // a run ends when its time is up
const QString kBestKey = QStringLiteral("best");

// A stage's entry as a run writes it: a digit for the stage, whole seconds without sign or fraction.
std::optional<std::pair<int, int>> StageTime(const QString& key, const QString& value) {
    static const QRegularExpression seconds(QStringLiteral("^(0|[1-9][0-9]{0,2})$"));
    const int stage = key.size() == 1 ? key.toInt() : 0;
    if (stage < kFirstStage || stage > kLastStage || !seconds.match(value).hasMatch() || value.toInt() > kMaxSeconds) {
        return std::nullopt;
    }
    return std::pair(stage, value.toInt());
}

// The text of the file, whichever Unicode form it is in: a store saved again by an editor may be UTF-16.
QString Text(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::encodingForData(bytes, u'{').value_or(QStringConverter::Utf8));
    return decoder.decode(bytes);
}

}  // namespace

// What the store holds, as far as it can be read.
struct BestTimesFile::Contents {
    enum class State { Missing, AsWritten, NotAsWritten, Unreadable } state = State::Missing;
    std::map<int, int> times;  // the times of the stages that could be read
    QJsonObject store;         // the whole store, when it is JSON at all
    QStringList why;           // what is not as a run writes it
};

void BestTimesFile::Report(const QString& line) const {
    // One line for a problem, however often the game runs into it.
    if (line == lastReport_) return;
    lastReport_ = line;
    std::fprintf(stderr, "kanuvo: best times %s\n", qUtf8Printable(line));
}

BestTimesFile::BestTimesFile() {
    const std::string folder = UserFolder("XDG_DATA_HOME", ".local/share");
    if (!folder.empty()) path_ = QFile::decodeName(folder.c_str()) + QStringLiteral("/kanuvo/best_times.json");
}

BestTimesFile::Contents BestTimesFile::Read() const {
    Contents read;
    const QFileInfo info(path_);
    const QString where = QDir::toNativeSeparators(path_);
    if (!info.exists()) return read;
    // Never open a folder, a device or a pipe as the store, nor read an unbounded file.
    if (!info.isFile()) {
        Report(QStringLiteral("not read from %1: not a regular file").arg(where));
        read.state = Contents::State::Unreadable;
        return read;
    }
    read.state = Contents::State::NotAsWritten;
    if (info.size() > kMaxStoreBytes) {
        read.why << QStringLiteral("larger than %1 KiB").arg(kMaxStoreBytes / 1024);
        Report(QStringLiteral("not read from %1: %2").arg(where, read.why.first()));
        return read;
    }
    QFile file(path_);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.read(kMaxStoreBytes + 1) : QByteArray();
    if (file.error() != QFileDevice::NoError) {
        Report(QStringLiteral("not read from %1: %2").arg(where, file.errorString()));
        read.state = Contents::State::Unreadable;
        return read;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) read.why << error.errorString();
    read.store = document.object();
    // The entries are read from the text itself, in every "best" object in it: the parser takes -0.0
    // for 0, and of two "best" objects it keeps the last. What is around them may be damaged.
    static const QRegularExpression bestObject(QStringLiteral(R"("best"\s*:\s*\{([^{}]*)\})"));
    static const QRegularExpression entry(QStringLiteral(R"re("([^"]*)"\s*:\s*([^,]*))re"));
    const QString text = Text(bytes);
    int objects = 0, entries = 0;
    QStringList dropped;
    for (auto best = bestObject.globalMatch(text); best.hasNext(); ++objects) {
        for (auto found = entry.globalMatch(best.next().captured(1)); found.hasNext(); ++entries) {
            const QRegularExpressionMatch match = found.next();
            const auto time = StageTime(match.captured(1), match.captured(2).trimmed());
            if (!time) {
                dropped << match.captured(0).trimmed();
                continue;
            }
            // Of two times for one stage, the better.
            const auto [kept, fresh] = read.times.insert(*time);
            if (!fresh) kept->second = std::min(kept->second, time->second);
        }
    }
    if (objects != 1) read.why << QStringLiteral("%1 \"best\" objects").arg(objects);
    if (!dropped.isEmpty()) {
        constexpr int kShown = 5;  // a long list of nonsense says no more than its first entries
        const QString more = dropped.size() > kShown ? QStringLiteral(" and %1 more").arg(dropped.size() - kShown) : QString();
        read.why << QStringLiteral("no stage's time in whole seconds from 0 to 180: ") + dropped.mid(0, kShown).join(QStringLiteral(", ")) + more;
    }
    const QJsonObject best = read.store[kBestKey].toObject();
    if (read.why.isEmpty() && (!read.store[kBestKey].isObject() || best.size() != entries)) {
        read.why << QStringLiteral("not as the game writes it");
    }
    if (read.why.isEmpty()) {
        read.state = Contents::State::AsWritten;
    } else {
        Report(QStringLiteral("in %1 read as far as they can be (%2); the file is kept aside at the next record")
                   .arg(where, read.why.join(QStringLiteral("; "))));
    }
    return read;
}

std::optional<int> BestTimesFile::Load(int stage) const {
    const Contents read = Read();
    const auto kept = read.times.find(stage);
    if (kept == read.times.end()) return std::nullopt;
    return kept->second;
}

bool BestTimesFile::Save(int stage, int seconds) const {
    const QString where = QDir::toNativeSeparators(path_);
    if (path_.isEmpty()) {
        Report(QStringLiteral("not saved: there is no home folder to keep them in"));
        return false;
    }
    Contents read = Read();
    // A store that cannot be read may still hold times: it is left alone (Read has said why).
    if (read.state == Contents::State::Unreadable) return false;
    // One the game cannot read whole is kept for the player before anything replaces it. A symbolic
    // link stays where it is: the save below refuses to write through it.
    if (read.state == Contents::State::NotAsWritten && !QFileInfo(path_).isSymLink()) {
        std::string why;
        const std::string aside = MoveAside(QFile::encodeName(path_).toStdString(), why);
        if (aside.empty()) {
            Report(QStringLiteral("not saved to %1: it could not be kept aside: %2").arg(where, QString::fromLocal8Bit(why)));
            return false;
        }
        Report(QStringLiteral("in %1 could not be read whole (%2): kept as %3")
                   .arg(where, read.why.join(QStringLiteral("; ")), QDir::toNativeSeparators(QFile::decodeName(aside.c_str()))));
    }
    read.times[stage] = seconds;
    QJsonObject best;
    for (const auto& [kept, time] : read.times) best[QString::number(kept)] = time;
    // Whatever else a store as the game writes it holds is kept; one kept aside starts afresh.
    QJsonObject store = read.state == Contents::State::AsWritten ? read.store : QJsonObject();
    store[kBestKey] = best;

    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) {
        Report(QStringLiteral("not saved to %1: its folder cannot be made").arg(where));
        return false;
    }
    std::string why;
    if (!ReplaceFileWhole(QFile::encodeName(path_).toStdString(), QJsonDocument(store).toJson().toStdString(), why)) {
        Report(QStringLiteral("not saved to %1: %2; the old file is kept").arg(where, QString::fromLocal8Bit(why)));
        return false;
    }
    return true;
}

void BestTimesFile::RemoveLeftovers() const {
    if (!path_.isEmpty()) RemoveLeftoverTemporaries(QFile::encodeName(path_).toStdString());
}

}  // namespace kanuvo
