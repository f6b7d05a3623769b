// SPDX-License-Identifier: MIT
// Draws the game's pictures into BMP files at build time, the program's icons, and a preview sheet.
//   kanuvo_make_pictures <output folder>
//   kanuvo_make_pictures --icons <output folder> <side>...
//   kanuvo_make_pictures --maskable-icons <output folder> <side>...
//   kanuvo_make_pictures --preview <picture folder> <sheet.png> [cursor files...]
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>

#include "artwork.h"
#include "picture_set.h"

namespace {

using kanuvo::Direction;
namespace pics = kanuvo::pictures;

const QColor kPreviewBoard{0, 0, 128};
// Pictures are kept in arrays indexed by their resource id.
constexpr int kIdLimit = 112;

QImage DrawPicture(const pics::PictureEntry& entry, int scale, kanuvo::art::Wording wording,
                   kanuvo::art::Pointing pointing = kanuvo::art::Pointing::Click) {
    const QSize size(entry.width * scale, entry.height * scale);
    if (entry.id == kanuvo::kTitlePictureId) return kanuvo::art::DrawTitlePicture(size, wording, pointing);
    if (entry.id == kanuvo::kGameOverPictureId) return kanuvo::art::DrawGameOverPicture(size, wording);
    for (Direction d : kanuvo::kAllDirections) {
        if (entry.id == kanuvo::TruckPictureId(d)) return kanuvo::art::DrawTruckPicture(d, size);
    }
    return {};
}

bool Save(const QImage& image, const QString& path) {
    // RGB32 is written as a 24-bit BMP; anything with an alpha channel or a palette would not be.
    if (!image.convertToFormat(QImage::Format_RGB32).save(path, "BMP")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Every picture in Japanese into folder, and those with words in English into its English folder;
// the title for a touch screen into the touch folder, in both languages.
int WritePictures(const QString& folder) {
    const QString english = folder + '/' + pics::kEnglishFolder;
    const QString touch = folder + '/' + pics::kTouchFolder;
    for (const QString& made : {english, touch + '/' + pics::kEnglishFolder}) {
        if (!QDir().mkpath(made)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(made));
            return 1;
        }
    }
    using kanuvo::art::Wording;
    const pics::PictureEntry& title = *std::ranges::find(pics::kPictures, kanuvo::kTitlePictureId, &pics::PictureEntry::id);
    for (const Wording wording : {Wording::Japanese, Wording::English}) {
        for (const int scale : pics::kScales) {
            const QString into = wording == Wording::English ? touch + '/' + pics::kEnglishFolder : touch;
            const QImage image = DrawPicture(title, scale, wording, kanuvo::art::Pointing::Tap);
            if (!Save(image, into + '/' + pics::FileName(title.id, scale))) return 1;
        }
    }
    for (const Wording wording : {Wording::Japanese, Wording::English}) {
        for (const int scale : pics::kScales) {
            // Pictures come before their masks in the table, so each mask is made from its picture as drawn.
            QImage byId[kIdLimit];
            for (const pics::PictureEntry& entry : pics::kPictures) {
                const bool worded = std::ranges::find(pics::kWordedPictures, entry.id) != std::end(pics::kWordedPictures);
                if (wording == Wording::English && !worded) continue;
                QImage& image = byId[entry.id];
                image = entry.maskOf == 0 ? DrawPicture(entry, scale, wording) : pics::MakeMask(byId[entry.maskOf]);
                if (image.size() != QSize(entry.width, entry.height) * scale) {
                    std::fprintf(stderr, "picture %d came out at the wrong size\n", entry.id);
                    return 1;
                }
                const QString into = wording == Wording::English ? english : folder;
                if (!Save(image, into + '/' + pics::FileName(entry.id, scale))) return 1;
            }
        }
    }
    return 0;
}

// The icon at each side asked for, as "<side>.png" with its transparency, or for a home screen's
// mask as "maskable-<side>.png".
int WriteIcons(const QString& folder, const QStringList& sides, bool maskable = false) {
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    for (const QString& text : sides) {
        const int side = text.toInt();
        const QString path = folder + '/' + (maskable ? QStringLiteral("maskable-") : QString()) + text + QStringLiteral(".png");
        const QImage icon = maskable ? kanuvo::art::DrawMaskableIconPicture(side) : kanuvo::art::DrawIconPicture(side);
        if (side <= 0 || !icon.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write the %s-pixel icon to %s\n", qPrintable(text), qPrintable(path));
            return 1;
        }
    }
    return 0;
}

QImage Load(const QString& folder, int id) {
    QImage image(folder + '/' + pics::FileName(id));
    if (image.isNull()) std::fprintf(stderr, "cannot read picture %d from %s\n", id, qPrintable(folder));
    return image.convertToFormat(QImage::Format_RGB32);
}

// A patch of board with a grey tile and a straight road, the way the truck is seen in play.
QImage BoardPatch(QSize size, bool lying) {
    QImage patch(size, QImage::Format_RGB32);
    patch.fill(kPreviewBoard);
    QPainter p(&patch);
    p.setPen(QColor(200, 200, 200));
    p.setBrush(QColor(200, 200, 200));
    p.drawRoundedRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1), 5, 5);
    const QColor road = kanuvo::art::RoadColour(lying ? kanuvo::TileKind::Horizontal : kanuvo::TileKind::Vertical);
    if (lying) {
        p.fillRect(QRect(0, size.height() / 2 - 5, size.width(), 10), road);
    } else {
        p.fillRect(QRect(size.width() / 2 - 5, 0, 10, size.height()), road);
    }
    return patch;
}

int WritePreview(const QString& folder, const QString& sheetPath, const QStringList& cursorFiles) {
    QImage pictures[kIdLimit];
    for (const pics::PictureEntry& entry : pics::kPictures) {
        pictures[entry.id] = Load(folder, entry.id);
        if (pictures[entry.id].isNull()) return 1;
    }
    QImage sheet(1420, 1000, QImage::Format_RGB32);
    sheet.fill(kPreviewBoard);
    QPainter(&sheet).drawImage(10, 10, pictures[kanuvo::kTitlePictureId]);
    const auto sprite = [&](QImage& onto, Direction d, const QRect& where) {
        pics::PaintSprite(onto, pictures[kanuvo::TruckMaskId(d)], pictures[kanuvo::TruckPictureId(d)], where);
    };
    // Full size, as drawn.
    sprite(sheet, Direction::Left, QRect(690, 25, 200, 97));
    sprite(sheet, Direction::Right, QRect(690, 140, 200, 97));
    sprite(sheet, Direction::Up, QRect(910, 25, 70, 145));
    sprite(sheet, Direction::Down, QRect(1000, 25, 150, 310));
    // At play size on a tile, then two of them magnified three times to judge the pixels.
    for (Direction d : kanuvo::kAllDirections) {
        const bool lying = kanuvo::Lying(d);
        const int column = kanuvo::DirectionCode(d) - 1;
        QImage patch = BoardPatch(QSize(100, 100), lying);
        sprite(patch, d, lying ? QRect(20, 35, 60, 30) : QRect(35, 20, 30, 60));
        QPainter p(&sheet);
        p.drawImage(690 + column * 110, 350, patch);
        if (d == Direction::Left || d == Direction::Up) {
            p.drawImage(d == Direction::Left ? 690 : 1010, 470,
                        patch.scaled(300, 300, Qt::KeepAspectRatio, Qt::FastTransformation));
        }
    }
    // The Game Over lettering as drawn, and at two of the sizes it grows through.
    const auto gameOver = [&](const QRect& where) {
        pics::PaintSprite(sheet, pictures[kanuvo::kGameOverMaskId], pictures[kanuvo::kGameOverPictureId], where);
    };
    gameOver(QRect(20, 680, 600, 270));
    gameOver(QRect(640, 775, 460, 220));
    gameOver(QRect(1120, 775, 160, 70));
    {
        QPainter p(&sheet);
        int y = 25;
        for (const QString& file : cursorFiles) {
            QImage cursor(file);
            if (cursor.isNull()) {
                std::fprintf(stderr, "cannot read cursor %s\n", qPrintable(file));
                continue;
            }
            p.fillRect(QRect(1180, y, 128, 128), QColor(230, 230, 230));
            p.drawImage(QRect(1180, y, 128, 128), cursor);
            p.drawImage(QRect(1330, y, 32, 32), cursor);
            y += 150;
        }
    }
    if (!sheet.save(sheetPath, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(sheetPath));
        return 1;
    }
    std::printf("preview written to %s\n", qPrintable(sheetPath));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Lettering needs a font database, which needs a platform; the build machine may have no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 2 && !args[1].startsWith("--")) return WritePictures(args[1]);
    if (args.size() >= 4 && args[1] == "--icons") return WriteIcons(args[2], args.mid(3));
    if (args.size() >= 4 && args[1] == "--maskable-icons") return WriteIcons(args[2], args.mid(3), true);
    if (args.size() >= 4 && args[1] == "--preview") return WritePreview(args[2], args[3], args.mid(4));
    std::fprintf(stderr, "usage: kanuvo_make_pictures <output folder>\n"
                         "       kanuvo_make_pictures --icons <output folder> <side>...\n"
                         "       kanuvo_make_pictures --maskable-icons <output folder> <side>...\n"
                         "       kanuvo_make_pictures --preview <picture folder> <sheet.png> [cursor files...]\n");
    return 2;
}
