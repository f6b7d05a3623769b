// SPDX-License-Identifier: MIT
// The built pictures: sizes and depth, masks that match their sprites, sprites over a board, embedding.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "app/picture_resources.h"

namespace {

struct Expected {
    int id;
    int width;
    int height;
};

constexpr Expected kExpected[] = {
    {101, 200, 97}, {102, 200, 97}, {103, 70, 145}, {104, 150, 310}, {105, 200, 97},  {106, 200, 97},
    {107, 70, 145}, {108, 150, 310}, {109, 652, 650}, {110, 600, 270}, {111, 600, 270},
};

// Sprite and mask pairs, with the truck's heading (0 for the Game Over lettering).
struct SpritePair {
    int picture;
    int mask;
    int heading;
};
constexpr SpritePair kSprites[] = {{101, 105, 1}, {102, 106, 2}, {103, 107, 3}, {104, 108, 4}, {110, 111, 0}};

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

QString BuiltPath(int id) { return QStringLiteral(KANUVO_PICTURE_DIR "/%1.bmp").arg(id); }

QImage Built(int id) { return QImage(BuiltPath(id)).convertToFormat(QImage::Format_RGB32); }

QRgb Opaque(QRgb c) { return c | 0xFF000000u; }

int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

void ForEachPixel(const QImage& image, const std::function<void(int, int, QRgb)>& visit) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) visit(x, y, Opaque(image.pixel(x, y)));
    }
}

std::uint32_t Le(const QByteArray& bytes, int offset, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
    return value;
}

class PictureTest : public ::testing::TestWithParam<Expected> {};

TEST_P(PictureTest, IsAnUncompressed24BitBitmapOfItsSize) {
    const Expected e = GetParam();
    QFile file(BuiltPath(e.id));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << e.id;
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(Le(bytes, 18, 4), static_cast<std::uint32_t>(e.width));
    EXPECT_EQ(Le(bytes, 22, 4), static_cast<std::uint32_t>(e.height));
    EXPECT_EQ(Le(bytes, 28, 2), 24u) << "bits per pixel";
    EXPECT_EQ(Le(bytes, 30, 4), 0u) << "compression";
    const int rowBytes = (e.width * 3 + 3) / 4 * 4;
    EXPECT_GE(bytes.size(), static_cast<int>(Le(bytes, 10, 4)) + rowBytes * e.height);
}

TEST_P(PictureTest, EmbeddedCopyLoadsByIdAndEqualsTheBuiltFile) {
    kanuvo::InitPictureResources();
    const Expected e = GetParam();
    const QImage embedded(QStringLiteral(":/pictures/%1.bmp").arg(e.id));
    ASSERT_FALSE(embedded.isNull()) << e.id;
    EXPECT_EQ(embedded.size(), QSize(e.width, e.height));
    EXPECT_EQ(embedded.convertToFormat(QImage::Format_RGB32), Built(e.id));
}

INSTANTIATE_TEST_SUITE_P(AllEleven, PictureTest, ::testing::ValuesIn(kExpected),
                         [](const auto& info) { return std::to_string(info.param.id); });

class SpriteTest : public ::testing::TestWithParam<SpritePair> {};

TEST_P(SpriteTest, MaskIsBlackExactlyWhereThePictureIsNotWhite) {
    const QImage picture = Built(GetParam().picture);
    const QImage mask = Built(GetParam().mask);
    ASSERT_EQ(mask.size(), picture.size());
    int mismatches = 0;
    ForEachPixel(picture, [&](int x, int y, QRgb colour) {
        const QRgb expected = colour == kWhite ? kWhite : kBlack;
        if (Opaque(mask.pixel(x, y)) != expected) ++mismatches;
    });
    EXPECT_EQ(mismatches, 0);
}

TEST_P(SpriteTest, ShapeSitsOnWhiteWithADarkRimAndNoPaleFringe) {
    const QImage picture = Built(GetParam().picture);
    int shape = 0;
    int paleEdge = 0;
    int edge = 0;
    ForEachPixel(picture, [&](int x, int y, QRgb colour) {
        if (colour == kWhite) return;
        ++shape;
        const bool onEdge = x == 0 || y == 0 || x == picture.width() - 1 || y == picture.height() - 1 ||
                            Opaque(picture.pixel(x - 1, y)) == kWhite || Opaque(picture.pixel(x + 1, y)) == kWhite ||
                            Opaque(picture.pixel(x, y - 1)) == kWhite || Opaque(picture.pixel(x, y + 1)) == kWhite;
        if (!onEdge) return;
        ++edge;
        if (qMin(qRed(colour), qMin(qGreen(colour), qBlue(colour))) >= 200) ++paleEdge;
    });
    const int area = picture.width() * picture.height();
    EXPECT_EQ(Opaque(picture.pixel(0, 0)), kWhite) << "the corners are background";
    EXPECT_GT(shape, area / 5) << "the picture shows something";
    EXPECT_LT(shape, area) << "the picture has a background";
    EXPECT_GT(edge, 0);
    EXPECT_EQ(paleEdge, 0) << "edge pixels close to white turn into a light halo over the board";
}

// The raster operations of the board: merge-paint (dest OR NOT mask), then AND with the picture.
void DrawSprite(QImage& board, const QImage& mask, const QImage& picture, const QRect& at) {
    const QImage m = mask.scaled(at.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation).convertToFormat(QImage::Format_RGB32);
    const QImage p = picture.scaled(at.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < at.height(); ++y) {
        for (int x = 0; x < at.width(); ++x) {
            const QRgb merged = board.pixel(at.x() + x, at.y() + y) | ~m.pixel(x, y);
            board.setPixel(at.x() + x, at.y() + y, Opaque(merged & p.pixel(x, y)));
        }
    }
}

TEST_P(SpriteTest, DrawnOverABoardKeepsTheBoardAroundTheShapeAndShowsThePictureInside) {
    const QImage picture = Built(GetParam().picture);
    const QImage mask = Built(GetParam().mask);
    const QRgb boardColour = qRgb(20, 90, 140);
    QImage board(picture.width() + 40, picture.height() + 40, QImage::Format_RGB32);
    board.fill(boardColour);
    const QRect at(20, 20, picture.width(), picture.height());
    DrawSprite(board, mask, picture, at);

    int wrong = 0;
    ForEachPixel(board, [&](int x, int y, QRgb colour) {
        if (!at.contains(x, y)) {
            if (colour != boardColour) ++wrong;
            return;
        }
        const QRgb source = Opaque(picture.pixel(x - at.x(), y - at.y()));
        if (colour != (source == kWhite ? boardColour : source)) ++wrong;
    });
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(TrucksAndGameOver, SpriteTest, ::testing::ValuesIn(kSprites),
                         [](const auto& info) { return std::to_string(info.param.picture); });

// Where on average the pixels close to a colour lie, and how many there are.
struct Patch {
    double x = 0;
    double y = 0;
    int count = 0;
};

Patch Locate(const QImage& picture, QRgb colour, int tolerance) {
    Patch patch;
    ForEachPixel(picture, [&](int x, int y, QRgb c) {
        if (Distance(c, colour) > tolerance) return;
        patch.x += x;
        patch.y += y;
        ++patch.count;
    });
    if (patch.count > 0) {
        patch.x /= patch.count;
        patch.y /= patch.count;
    }
    return patch;
}

TEST(TruckPictures, ShowAGreenCabLeadingAPaleYellowCargoBox) {
    const QRgb cab = qRgb(102, 153, 51);
    const QRgb cargo = qRgb(255, 255, 153);
    for (const SpritePair& truck : kSprites) {
        if (truck.heading == 0) continue;
        SCOPED_TRACE(truck.picture);
        const QImage picture = Built(truck.picture);
        const Patch green = Locate(picture, cab, 30);
        const Patch yellow = Locate(picture, cargo, 12);
        const int area = picture.width() * picture.height();
        ASSERT_GT(green.count, area / 30);
        ASSERT_GT(yellow.count, area / 5);
        switch (truck.heading) {
            case 1: EXPECT_LT(green.x, yellow.x); break;
            case 2: EXPECT_GT(green.x, yellow.x); break;
            case 3: EXPECT_LT(green.y, yellow.y); break;
            case 4: EXPECT_GT(green.y, yellow.y); break;
        }
    }
}

TEST(TruckPictures, ScaledToPlaySizeKeepCabAndCargoVisible) {
    // The board draws a truck at 60 x 30 on a 100-pixel cell.
    const QRgb boardColour = qRgb(0, 0, 128);
    for (const SpritePair& truck : kSprites) {
        if (truck.heading == 0) continue;
        SCOPED_TRACE(truck.picture);
        const bool lying = truck.heading <= 2;
        QImage board(80, 80, QImage::Format_RGB32);
        board.fill(boardColour);
        DrawSprite(board, Built(truck.mask), Built(truck.picture), lying ? QRect(10, 25, 60, 30) : QRect(25, 10, 30, 60));
        EXPECT_GT(Locate(board, qRgb(102, 153, 51), 40).count, 40);
        EXPECT_GT(Locate(board, qRgb(255, 255, 153), 20).count, 300);
        EXPECT_EQ(Opaque(board.pixel(5, 5)), boardColour);
    }
}

// Each picture is drawn again at twice its size for dense screens, embedded beside it: the same scene,
// and for a mask exactly the shape of its sharp picture.
TEST(SharpPictures, AreTheSameScenesAtTwiceTheSizeWithMasksThatFitThem) {
    kanuvo::InitPictureResources();
    const auto embedded = [](int id, const char* suffix) {
        return QImage(QStringLiteral(":/pictures/%1%2.bmp").arg(id).arg(QLatin1String(suffix)))
            .convertToFormat(QImage::Format_RGB32);
    };
    for (const Expected& e : kExpected) {
        const QImage picture = embedded(e.id, "");
        const QImage sharp = embedded(e.id, "@2x");
        ASSERT_EQ(sharp.size(), QSize(2 * e.width, 2 * e.height)) << e.id;
        // Halved smoothly, the sharp drawing differs from the picture only by edge detail.
        const QImage halved = sharp.scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        long long difference = 0;
        ForEachPixel(picture, [&](int x, int y, QRgb c) { difference += Distance(c, Opaque(halved.pixel(x, y))); });
        EXPECT_LT(difference / (e.width * e.height), 25) << e.id << " is another scene at 2x";
    }
    for (const SpritePair& pair : kSprites) {
        const QImage picture = embedded(pair.picture, "@2x");
        const QImage mask = embedded(pair.mask, "@2x");
        ASSERT_EQ(mask.size(), picture.size());
        int misfits = 0;
        ForEachPixel(picture, [&](int x, int y, QRgb c) {
            misfits += (Opaque(mask.pixel(x, y)) == kBlack) != (c != kWhite);
        });
        EXPECT_EQ(misfits, 0) << pair.mask;
    }
}

TEST(TitlePicture, ShowsTheRoadColoursOfAllSixKindsOnARedPage) {
    const QImage title = Built(109);
    const QRgb roads[] = {qRgb(0, 255, 255), qRgb(0, 255, 0),   qRgb(125, 70, 255),
                          qRgb(255, 255, 0), qRgb(255, 0, 0),   qRgb(255, 0, 255)};
    for (QRgb road : roads) EXPECT_GT(Locate(title, road, 0).count, 100) << std::hex << road;
    EXPECT_GT(Locate(title, qRgb(200, 200, 200), 24).count, 40000) << "light grey tiles";
    // Along the top and bottom edges the page is the title red, shaded at most a little.
    int red = 0;
    for (int x = 0; x < title.width(); ++x) {
        red += Distance(Opaque(title.pixel(x, 2)), qRgb(255, 51, 51)) < 60;
        red += Distance(Opaque(title.pixel(x, title.height() - 3)), qRgb(255, 51, 51)) < 60;
    }
    EXPECT_GT(red, title.width() * 2 * 9 / 10);
}

// Whether any of Qt's image format plugins is loaded into this process.
bool ImagePluginsLoaded() {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find("/imageformats/") != std::string::npos) return true;
    }
    return false;
}

TEST(WindowIcon, OffersEveryDrawnSizeFromItsFileAndLoadsNoImagePlugin) {
    int argc = 1;
    char name[] = "pictures_tests";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QGuiApplication> application;
    if (QGuiApplication::instance() == nullptr) application = std::make_unique<QGuiApplication>(argc, argv);
    const bool pluginsBefore = ImagePluginsLoaded();

    const QIcon icon = kanuvo::WindowIcon();
    const QList<QSize> sides = {{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    EXPECT_EQ(icon.availableSizes(), sides);
    std::vector<QImage> drawn;
    for (const QSize& side : sides) drawn.push_back(icon.pixmap(side).toImage());
    // Between two drawings, the larger is scaled down; above the largest, nothing is scaled up.
    EXPECT_EQ(icon.pixmap(QSize(40, 40)).size(), QSize(40, 40));
    EXPECT_EQ(icon.pixmap(QSize(512, 512)).size(), QSize(256, 256));
    if (!pluginsBefore) {
        EXPECT_FALSE(ImagePluginsLoaded()) << "an image plugin was loaded to read a PNG";
    }

    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const QImage file = QImage(QStringLiteral(":/icons/%1.png").arg(sides[i].width()));
        EXPECT_EQ(drawn[i].convertToFormat(QImage::Format_ARGB32), file.convertToFormat(QImage::Format_ARGB32))
            << sides[i].width();
    }
}

}  // namespace
