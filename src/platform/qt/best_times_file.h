// SPDX-License-Identifier: MIT
// Best clear times kept between sessions: a small JSON file, read with care and written atomically.
#pragma once

#include <QJsonObject>
#include <QString>

#include <map>
#include <optional>

namespace kanuvo {

// The store is {"best": {"<stage>": <seconds>, ...}}. A missing file is an empty store. A file that is
// not a regular file, too large, unreadable or not such JSON is reported in one line on standard
// error and treated as empty; an unreadable file is never overwritten, a corrupt one is replaced by
// the next save, and a save keeps the entries of a readable store it does not understand. Saves go
// through a temporary file renamed over the old one, so a crash or a full disk mid-write leaves the
// previous store whole; a symbolic link in its place is not written through.
class BestTimesFile {
public:
    // By default "best_times.json" in the user's data folder for the game; none (nothing is kept)
    // when the user has no home folder.
    BestTimesFile();
    void SetPath(const QString& path) { path_ = path; }
    const QString& Path() const { return path_; }

    std::optional<int> Load(int stage) const;
    // False (after a line on standard error) when the store could not be written.
    bool Save(int stage, int seconds) const;

private:
    enum class ReadResult { Read, Missing, Corrupt, Unreadable };
    // The times in the store, and the whole store as read into store when given.
    ReadResult Read(std::map<int, int>& times, QJsonObject* store = nullptr) const;
    void Report(const char* what, const QString& why) const;

    QString path_;
    mutable QString lastReport_;
};

}  // namespace kanuvo
