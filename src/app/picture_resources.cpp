// SPDX-License-Identifier: MIT
// Registers the embedded pictures and icons with Qt's resource system.
#include "app/picture_resources.h"

#include <QDir>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QtCore/qglobal.h>

#include <algorithm>
#include <utility>
#include <vector>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterPictures() {
    Q_INIT_RESOURCE(kanuvo_pictures);
    Q_INIT_RESOURCE(kanuvo_sharp_pictures);
    Q_INIT_RESOURCE(kanuvo_icons);
}

namespace kanuvo {

namespace {

// A PNG file's reader, told the format and not to guess it, so that it loads none of Qt's image
// plugins to look at the file.
void ReadAsPng(QImageReader& reader) {
    reader.setFormat("png");
    reader.setAutoDetectImageFormat(false);
}

QImage ReadPng(const QString& path) {
    QImageReader reader(path);
    ReadAsPng(reader);
    return reader.read();
}

QSize PngSize(const QString& path) {
    QImageReader reader(path);
    ReadAsPng(reader);
    return reader.size();  // from the file's header alone
}

// The icon's drawings, read from their files each time one is asked for. The window system takes
// every size once, when the window gets its icon, and a message box takes them again: held as
// pixmaps for the whole game they would cost a third of a megabyte.
class IconFilesEngine : public QIconEngine {
public:
    using Files = std::vector<std::pair<QSize, QString>>;  // smallest first

    explicit IconFilesEngine(Files files) : files_(std::move(files)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        if (files_.empty() || size.isEmpty()) return QPixmap();
        // The smallest drawing at least as large, else the largest: icons are scaled down, not up.
        auto file = std::find_if(files_.begin(), files_.end(), [&](const auto& f) {
            return f.first.width() >= size.width() && f.first.height() >= size.height();
        });
        if (file == files_.end()) file = std::prev(files_.end());
        QImage image = ReadPng(file->second);
        if (image.isNull()) return QPixmap();
        const QSize wanted = actualSize(size, mode, state);
        if (image.size() != wanted) image = image.scaled(wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return QPixmap::fromImage(std::move(image));
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        return files_.empty() ? QSize() : size.boundedTo(files_.back().first);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const auto& file : files_) sizes.append(file.first);
        return sizes;
    }

    QIconEngine* clone() const override { return new IconFilesEngine(files_); }
    QString key() const override { return QStringLiteral("KanuvoIconFiles"); }

private:
    Files files_;
};

}  // namespace

void InitPictureResources() {
    static const bool registered = (RegisterPictures(), true);
    (void)registered;
}

QIcon WindowIcon() {
    InitPictureResources();
    IconFilesEngine::Files files;
    const QDir folder(QStringLiteral(":/icons"));
    // Picked by their ending rather than by a name filter, which would build a regular expression
    // and bring the whole regular-expression engine into memory for a handful of names.
    for (const QString& name : folder.entryList(QDir::Files)) {
        if (!name.endsWith(QLatin1String(".png"))) continue;
        const QString path = folder.filePath(name);
        const QSize size = PngSize(path);
        if (size.isValid()) files.emplace_back(size, path);
    }
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.first.width() * a.first.height() < b.first.width() * b.first.height(); });
    return files.empty() ? QIcon() : QIcon(new IconFilesEngine(std::move(files)));
}

}  // namespace kanuvo
