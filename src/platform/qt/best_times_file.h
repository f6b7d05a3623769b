// SPDX-License-Identifier: MIT
// Best clear times kept between sessions: a small JSON file, read with care and written atomically.
#pragma once

#include <QJsonObject>
#include <QString>

#include <map>
#include <optional>

namespace kanuvo {

// The store is {"best": {"<stage>": <seconds>, ...}}, a run's time in whole seconds from 0 to 180.
// A missing file is an empty store. A file that is not a regular file or cannot be opened is reported
// in one line on standard error, read as empty and never written. A file not as a run writes it
// (too large, not such JSON, a time of no run) is read as far as it can be, entry by entry, and kept
// aside whole under a name that says so before the next save writes a fresh store: nothing the
// player kept is lost. Saves go through a temporary file renamed over the old one, so a crash or a
// full disk mid-write leaves the previous store whole; a symbolic link in its place is not written
// through.
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
    // Removes what a save cut short by the end of an earlier run left beside the store. Only for the
    // copy that holds the single-copy lock.
    void RemoveLeftovers() const;

private:
    struct Contents;
    Contents Read() const;
    void Report(const QString& line) const;

    QString path_;
    mutable QString lastReport_;
};

}  // namespace kanuvo
