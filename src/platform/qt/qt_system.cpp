// SPDX-License-Identifier: MIT
// The system services the game calls (tick count, message boxes, ending, single copy, screen,
// picture resources and pointer shapes), provided by Qt.
#include "platform/qt/qt_system.h"

#include "platform/qt/bmp_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLockFile>
#include <QMessageBox>
#include <QPixmap>
#include <QResource>
#include <QScreen>
#include <QStandardPaths>
#include <QSysInfo>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/leftovers.h"
#include "platform/qt/cursor_file.h"
#include "platform/qt/language.h"
#include "platform/qt/qt_surface.h"
#include "platform/regular_file.h"

namespace kanuvo {

namespace {

constexpr int kFallbackScreenHeight = 768;
// A cursor file is a few kilobytes; anything far larger is not one.
constexpr std::size_t kMaxCursorFileSize = 1 << 20;

std::uint32_t SteadyMilliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

// A picture or pointer drawn at twice the size sits beside its file as "<name>@2x.<extension>".
const QString kSharpSuffix = QStringLiteral("@2x");

QString SharpFileName(const QString& file) {
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = file.lastIndexOf(QLatin1Char('/'));
    if (dot <= slash) return file + kSharpSuffix;
    return file.left(dot) + kSharpSuffix + file.mid(dot);
}

// The path's bytes as they are: a folder name need not be valid UTF-8.
std::optional<CursorImage> ReadCursorFile(const std::string& path) {
    const auto bytes = ReadRegularFile(path, kMaxCursorFileSize);
    if (!bytes) return std::nullopt;
    return DecodeCursorFile(
        QByteArray(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size())));
}

// Where a copy whose data folder can hold no lock keeps at least one copy per session. The runtime
// folder belongs to the user alone, so other users' copies never block ours.
QString SessionLockPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("kanuvo.lock"));
}

// The single-copy lock at path when this copy can take it; null when another copy holds it
// (heldElsewhere) or it cannot be made there.
std::unique_ptr<QLockFile> TakeLock(const QString& path, bool& heldElsewhere) {
    heldElsewhere = false;
    // A copy's lock is always a file: a folder in its place names no copy. An empty one gives way to
    // the lock; one with something in it is left alone.
    if (const QFileInfo there(path); there.isDir() && !QDir().rmdir(path)) return nullptr;
    auto lock = std::make_unique<QLockFile>(path);
    // A held lock never goes stale by age; only a lock whose owner has died is taken over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) return lock;
    // A lock file whose owner cannot be read (empty, cut short, garbage) names no copy that runs:
    // left alone it would keep every later start out for good. Nor can this machine tell whether a
    // copy on another one sharing the home folder still runs, except by the file lock a live copy
    // holds on it: one that crashed there would otherwise keep this machine out until it starts again.
    qint64 owner = 0;
    QString host, program;
    if (lock->error() == QLockFile::LockFailedError &&
        (!lock->getLockInfo(&owner, &host, &program) || host != QSysInfo::machineHostName()) &&
        lock->removeStaleLockFile() && lock->tryLock(0)) {
        return lock;
    }
    heldElsewhere = lock->error() == QLockFile::LockFailedError;
    return nullptr;
}

}  // namespace

QtClock::QtClock() = default;

QtClock::QtClock(std::uint32_t startTick) : offset_(startTick - SteadyMilliseconds()) {}

std::uint32_t QtClock::Now() { return SteadyMilliseconds() + offset_; }

QtSystem::QtSystem() : cursors_{QCursor(Qt::ArrowCursor)} {}

QtSystem::~QtSystem() {
    if (lock_) ForgetLeftover(Leftover::Lock);
}

std::string QtSystem::Translate(const Text& text) {
    // Japanese is the source itself, with nothing to convert.
    return SpokenLanguage() == Language::Japanese ? text.source : Translated(text).toStdString();
}

void QtSystem::ShowMessage(std::string_view utf8Text) {
    if (messageHook_) {
        messageHook_(utf8Text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                    QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size())), QMessageBox::Ok,
                    cursorWindow_ && cursorWindow_->isVisible() ? cursorWindow_.data() : nullptr);
    box.exec();
}

void QtSystem::End(int exitStatus) {
    for (const auto& hook : shutdownHooks_) hook();
    lock_.reset();  // unlocks and removes the lock file
    ForgetLeftover(Leftover::Lock);
    // Ends at once, from wherever it is called: no window or control is torn down under a handler
    // that is still running, and nothing of the program outlives it.
    std::fflush(nullptr);
    std::_Exit(exitStatus);
}

bool QtSystem::AnotherCopyRuns() {
    if (lock_ || !keepsRecords_) return false;  // the lock is already ours, or there is none to take
    // One lock per player's data, beside the best times: copies with different runtime folders (two
    // sessions, a script) still write the same files.
    if (lockPath_.isEmpty() && !bestTimes_.Path().isEmpty())
        lockPath_ = QFileInfo(bestTimes_.Path()).dir().filePath(QStringLiteral("kanuvo.lock"));
    if (sessionLockPath_.isEmpty()) sessionLockPath_ = SessionLockPath();
    bool heldElsewhere = false;
    if (!lockPath_.isEmpty()) {
        QDir().mkpath(QFileInfo(lockPath_).absolutePath());
        lock_ = TakeLock(lockPath_, heldElsewhere);
        if (heldElsewhere) return true;
    }
    if (lock_) {
        // No other copy writes the best times now: what a save cut short by an earlier end left can go.
        bestTimes_.RemoveLeftovers();
    } else {
        // Without the lock beside them, two copies would each rewrite the player's files over the
        // other's; the runtime folder still keeps a second copy of this session out.
        if (!sessionLockPath_.isEmpty()) lock_ = TakeLock(sessionLockPath_, heldElsewhere);
        if (heldElsewhere) return true;
        keepsRecords_ = false;
        if (!lockPath_.isEmpty()) {
            std::fprintf(stderr, "kanuvo: no lock against a second copy can be made in %s; this copy keeps no best times "
                         "or settings, so as not to overwrite another's\n",
                         qUtf8Printable(QDir::toNativeSeparators(lockPath_)));
        }
    }
    // A copy ended at once (a second signal) gives it up on its way out.
    if (lock_) TrackLeftover(Leftover::Lock, QFile::encodeName(lock_->fileName()).toStdString());
    return false;
}

std::string QtSystem::ProgramFolder() {
    // The folder's name byte for byte: it need not be valid UTF-8, which a QString would not keep.
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && program.has_parent_path()) return program.parent_path().string();
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

void QtSystem::SetScreenOverride(int heightPixels, int availablePixels) {
    screenHeightPixels_ = heightPixels;
    availableHeightPixels_ = availablePixels > 0 ? availablePixels : heightPixels;
}

int QtSystem::ScreenHeight() { return HeightOf(screenHeightPixels_, &QScreen::geometry); }

int QtSystem::AvailableScreenHeight() { return HeightOf(availableHeightPixels_, &QScreen::availableGeometry); }

int QtSystem::HeightOf(std::optional<int> pretended, QRect (QScreen::*area)() const) {
    int pixels = kFallbackScreenHeight;
    if (pretended) {
        pixels = *pretended;
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        pixels = (screen->*area)().height();
    }
    return pixels;
}

namespace {

// The file of a picture under prefix; for English, its English drawing where it has words.
QString PictureFile(const QString& prefix, int id) {
    const QString name = QString::number(id) + QStringLiteral(".bmp");
    if (SpokenLanguage() == Language::English && prefix == QLatin1String(QtSystem::kEmbeddedPictures)) {
        const QString english = prefix + QStringLiteral("en/") + name;
        if (QResource(english).isValid()) return english;
    }
    return prefix + name;
}

}  // namespace

std::unique_ptr<Picture> QtSystem::LoadPicture(int id) {
    const QString file = PictureFile(picturePrefix_, id);
    // An embedded picture of the plain kind is checked now and decoded where it lies when first drawn.
    const QResource resource(file);
    if (resource.isValid() && resource.compressionAlgorithm() == QResource::Compression::NoCompression) {
        const auto* bytes = resource.data();
        const auto size = static_cast<std::size_t>(resource.size());
        const QSize pictureSize = PlainBmpSize(bytes, size);
        if (pictureSize.isValid()) {
            return std::make_unique<QtPicture>(
                pictureSize, [bytes, size] { return DecodePlainBmp(bytes, size); }, SharpFileName(file));
        }
    }
    const QImage image = ReadBmp(file);
    if (image.isNull()) return nullptr;
    return std::make_unique<QtPicture>(image, SharpFileName(file));
}

CursorHandle QtSystem::LoadPointerFile(std::string_view path) {
    const QString file = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
    // On a dense screen the pointer drawn at twice the size beside the file, where there is one.
    if (qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1) {
        if (auto shape = ReadCursorFile(QFile::encodeName(SharpFileName(file)).toStdString())) {
            QPixmap pixmap = QPixmap::fromImage(shape->image);
            pixmap.setDevicePixelRatio(2);
            // The hot spot is given in the pointer's own (design) pixels.
            cursors_.emplace_back(pixmap, shape->hotSpot.x() / 2, shape->hotSpot.y() / 2);
            return cursors_.size();
        }
    }
    const auto shape = ReadCursorFile(std::string(path));
    if (!shape) return 0;
    cursors_.emplace_back(QPixmap::fromImage(shape->image), shape->hotSpot.x(), shape->hotSpot.y());
    return cursors_.size();
}

CursorHandle QtSystem::Pointer() { return currentCursor_; }

const QCursor* QtSystem::CursorOf(CursorHandle handle) const {
    if (handle == 0 || handle > cursors_.size()) return nullptr;
    return &cursors_[handle - 1];
}

bool QtSystem::SetPointer(CursorHandle cursor) {
    const QCursor* shape = CursorOf(cursor);
    if (shape == nullptr) return false;
    currentCursor_ = cursor;
    // Controls carry no pointer of their own, so they show the window's.
    if (cursorWindow_) cursorWindow_->setCursor(*shape);
    return true;
}

void QtSystem::SetCursorWindow(QWidget* window) {
    cursorWindow_ = window;
    if (const QCursor* shape = CursorOf(currentCursor_); shape != nullptr && cursorWindow_) cursorWindow_->setCursor(*shape);
}

}  // namespace kanuvo
