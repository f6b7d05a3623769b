// SPDX-License-Identifier: MIT
// The system services the game calls (tick count, message boxes, ending, single copy, screen,
// picture resources and pointer shapes), provided by Qt.
#pragma once

#include <QCursor>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/qt/best_times_file.h"
#include "platform/system.h"

class QLockFile;
class QScreen;

namespace kanuvo {

// Milliseconds from the steady clock, wrapping at 32 bits like the system tick count.
class QtClock : public Clock {
public:
    QtClock();
    // Starts counting at startTick, e.g. just before the wrap to see that nothing depends on it.
    explicit QtClock(std::uint32_t startTick);
    std::uint32_t Now() override;

private:
    std::uint32_t offset_ = 0;
};


class QtSystem : public System {
public:
    QtSystem();
    ~QtSystem() override;

    void ShowMessage(std::string_view utf8Text) override;
    std::string Translate(const Text& text) override;
    [[noreturn]] void End(int exitStatus) override;
    bool AnotherCopyRuns() override;
    std::string ProgramFolder() override;
    int ScreenHeight() override;
    int AvailableScreenHeight() override;
    std::unique_ptr<Picture> LoadPicture(int id) override;
    CursorHandle LoadPointerFile(std::string_view path) override;
    CursorHandle Pointer() override;
    bool SetPointer(CursorHandle cursor) override;
    std::optional<int> LoadBestTime(int stage) override { return bestTimes_.Load(stage); }
    void SaveBestTime(int stage, int seconds) override {
        if (keepsRecords_) bestTimes_.Save(stage, seconds);
    }
    // False once AnotherCopyRuns found no place for the lock beside the player's data: this copy then
    // keeps no best times or settings.
    bool KeepsRecords() const { return keepsRecords_; }

    // Where the program's own pictures are embedded.
    static constexpr char kEmbeddedPictures[] = ":/pictures/";
    // The handle standing for the standard arrow until the game replaces it.
    static constexpr CursorHandle kStandardArrow = 1;

    // Wiring done by the program (and by tests).
    // Run by End before the program stops, in the order added (the sound layer releases its device).
    void AddShutdownHook(std::function<void()> hook) { shutdownHooks_.push_back(std::move(hook)); }
    // Replaces the modal message box, so that tests never block on one.
    void SetMessageHook(std::function<void(std::string_view)> hook) { messageHook_ = std::move(hook); }
    // The window whose pointer SetPointer sets (it and its controls, nothing else).
    void SetCursorWindow(QWidget* window);
    // Where the single-copy lock lives: by default "kanuvo.lock" beside the best times it guards; where
    // that cannot be made, sessionFallback (by default "kanuvo.lock" in the user's runtime folder) keeps
    // one copy per session, which then keeps no best times or settings.
    void SetLockPath(const QString& path, const QString& sessionFallback = {}) {
        lockPath_ = path;
        sessionLockPath_ = sessionFallback;
    }
    // Pretends a screen of this height in pixels, with panels taking
    // heightPixels - availablePixels of it (none when availablePixels is 0).
    void SetScreenOverride(int heightPixels, int availablePixels = 0);
    // Where the pictures are read from: "<prefix><id>.bmp"; by default the program's own resources.
    void SetPicturePrefix(const QString& prefix) { picturePrefix_ = prefix; }
    // Where the best times are kept; by default in the user's data folder. Tests keep theirs in a scratch folder.
    void SetBestTimesPath(const QString& path) { bestTimes_.SetPath(path); }

private:
    const QCursor* CursorOf(CursorHandle handle) const;
    // The height of the pretended screen, or of an area of the primary one, in pixels.
    int HeightOf(std::optional<int> pretended, QRect (QScreen::*area)() const);

    std::vector<std::function<void()>> shutdownHooks_;
    std::function<void(std::string_view)> messageHook_;
    QString lockPath_, sessionLockPath_;
    std::unique_ptr<QLockFile> lock_;
    bool keepsRecords_ = true;
    std::optional<int> screenHeightPixels_;
    std::optional<int> availableHeightPixels_;
    QString picturePrefix_ = QLatin1String(kEmbeddedPictures);
    std::vector<QCursor> cursors_;  // handle h is cursors_[h - 1]
    CursorHandle currentCursor_ = kStandardArrow;
    QPointer<QWidget> cursorWindow_;
    BestTimesFile bestTimes_;
};

}  // namespace kanuvo
