// SPDX-License-Identifier: MIT
// Best clear times kept between sessions in a small JSON file, replaced whole or not at all.
#include "platform/qt/best_times_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

#include "platform/regular_file.h"

namespace kanuvo {

namespace {

constexpr qint64 kMaxStoreBytes = 64 * 1024;  // a store of nine times is a few hundred bytes
constexpr int kFirstStage = 1, kLastStage = 9;
constexpr int kMaxSeconds = 24 * 60 * 60;
const QString kBestKey = QStringLiteral("best");

}  // namespace

void BestTimesFile::Report(const char* what, const QString& why) const {
    // One line for a problem, however often the game runs into it.
    const QString where = path_.isEmpty() ? QString() : QStringLiteral(" ") + QDir::toNativeSeparators(path_);
    const QString line = QStringLiteral("kanuvo: best times %1%2: %3").arg(QString::fromLatin1(what), where, why);
    if (line == lastReport_) return;
    lastReport_ = line;
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

BestTimesFile::BestTimesFile() {
    const std::string folder = UserFolder("XDG_DATA_HOME", ".local/share");
    if (!folder.empty()) path_ = QFile::decodeName(folder.c_str()) + QStringLiteral("/kanuvo/best_times.json");
}

BestTimesFile::ReadResult BestTimesFile::Read(std::map<int, int>& times, QJsonObject* store) const {
    times.clear();
    const QFileInfo info(path_);
    if (!info.exists()) return ReadResult::Missing;
    // Never open a folder, a device or a pipe as the store, nor read an unbounded file.
    if (!info.isFile() || info.size() > kMaxStoreBytes) {
        Report("not read from", QStringLiteral("not a small regular file"));
        return ReadResult::Unreadable;
    }
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        Report("not read from", file.errorString());
        return ReadResult::Unreadable;
    }
    const QByteArray bytes = file.read(kMaxStoreBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        Report("not read from", file.errorString());
        return ReadResult::Unreadable;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject() || !document.object()[kBestKey].isObject()) {
        Report("ignored in", QStringLiteral("not a store of best times"));
        return ReadResult::Corrupt;
    }
    if (store != nullptr) *store = document.object();
    const QJsonObject best = document.object()[kBestKey].toObject();
    for (auto entry = best.begin(); entry != best.end(); ++entry) {
        bool isNumber = false;
        const int stage = entry.key().toInt(&isNumber);
        const double seconds = entry.value().toDouble(-1);
        // Entries that make no sense are dropped one by one; the rest of the store still counts.
        if (!isNumber || stage < kFirstStage || stage > kLastStage || seconds < 0 || seconds > kMaxSeconds ||
            seconds != static_cast<int>(seconds)) {
            continue;
        }
        times[stage] = static_cast<int>(seconds);
    }
    return ReadResult::Read;
}

std::optional<int> BestTimesFile::Load(int stage) const {
    std::map<int, int> times;
    Read(times);
    const auto kept = times.find(stage);
    if (kept == times.end()) return std::nullopt;
    return kept->second;
}

bool BestTimesFile::Save(int stage, int seconds) const {
    if (path_.isEmpty()) {
        Report("not saved", QStringLiteral("there is no home folder to keep them in"));
        return false;
    }
    std::map<int, int> times;
    QJsonObject root;
    // A store that cannot be read may still hold times: it is left alone (Read has said why).
    if (Read(times, &root) == ReadResult::Unreadable) return false;
    // Only this stage's entry changes: whatever else the store holds, understood or not, is kept.
    QJsonObject best = root[kBestKey].toObject();
    best[QString::number(stage)] = seconds;
    root[kBestKey] = best;

    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) {
        Report("not saved to", QStringLiteral("its folder cannot be made"));
        return false;
    }
    std::string why;
    if (!ReplaceFileWhole(QFile::encodeName(path_).toStdString(), QJsonDocument(root).toJson().toStdString(), why)) {
        Report("not saved to", QString::fromLocal8Bit(why) + QStringLiteral("; the old file is kept"));
        return false;
    }
    return true;
}

}  // namespace kanuvo
