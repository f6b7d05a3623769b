// SPDX-License-Identifier: MIT
// What the drawing calls cover on a QImage surface: sprites, rounded and plain boxes, text, copies.
#include <QFontInfo>
#include <QImage>

#include <vector>

#include <gtest/gtest.h>

#include "platform/qt/main_form.h"
#include "platform/qt/qt_surface.h"

namespace kanuvo {
namespace {

constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kNavy = Rgb(0, 0, 128);
constexpr Color kRed = Rgb(255, 0, 0);
constexpr Color kGreen = Rgb(0, 255, 0);

Color At(const QtSurface& surface, int x, int y) { return surface.Image().pixel(x, y) & 0xFFFFFF; }

// Pixels of the given colour, as the smallest rectangle holding them all.
QRect Covered(const QtSurface& surface, Color color) {
    QRect box;
    for (int y = 0; y < surface.PixelHeight(); ++y)
        for (int x = 0; x < surface.PixelWidth(); ++x)
            if (At(surface, x, y) == color) box |= QRect(x, y, 1, 1);
    return box;
}

QImage Filled(int width, int height, Color color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(RedOf(color), GreenOf(color), BlueOf(color)));
    return image;
}

TEST(QtSurfaceTest, StartsAt96DpiAndAClearCoversEverything) {
    QtSurface surface(QSize(40, 30));
    EXPECT_EQ(surface.Image().dotsPerMeterX(), 3780);
    EXPECT_EQ(surface.Image().dotsPerMeterY(), 3780);
    surface.FillBox(0, 0, 39, 29, kRed);
    surface.Clear(kNavy);
    EXPECT_EQ(surface.ClearColor(), kNavy);
    EXPECT_EQ(Covered(surface, kNavy), QRect(0, 0, 40, 30));
    EXPECT_TRUE(Covered(surface, kRed).isNull());
}

TEST(QtSurfaceTest, ResizeKeepsTheDrawingAndFillsNewAreaWithTheClearColour) {
    QtSurface surface(QSize(10, 10));
    surface.Clear(kNavy);
    surface.FillBox(2, 2, 4, 4, kRed);
    surface.Resize(QSize(20, 15));
    EXPECT_EQ(surface.PixelWidth(), 20);
    EXPECT_EQ(surface.PixelHeight(), 15);
    EXPECT_EQ(Covered(surface, kRed), QRect(2, 2, 3, 3));
    EXPECT_EQ(At(surface, 19, 14), kNavy);
}

TEST(QtSurfaceTest, ASurfaceNeverDrawnOnIsItsClearColourAtEverySizeAndCopiesAsIt) {
    // Device pixels of the colour, all over the image.
    const auto count = [](const QtSurface& surface, Color color) {
        const QImage& image = surface.Image();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == color;
        return n;
    };
    // The board and its copy are sized, coloured and resized long before anything is drawn on them.
    QtSurface blank;
    blank.Resize(QSize(10, 10));
    blank.Clear(kNavy);
    blank.SetPixelRatio(2);
    blank.Resize(QSize(12, 8));
    EXPECT_EQ(blank.PixelWidth(), 12);
    EXPECT_EQ(blank.PixelHeight(), 8);
    QtSurface target(QSize(12, 8));
    target.FillBox(0, 0, 11, 7, kRed);
    target.SetPixelRatio(2);
    EXPECT_TRUE(target.Copy(0, 0, 12, 8, blank, 0, 0));
    EXPECT_EQ(count(target, kNavy), 24 * 16);
    blank.FillBox(1, 1, 1, 1, kWhite);
    EXPECT_EQ(blank.Image().size(), QSize(24, 16));
    EXPECT_EQ(count(blank, kWhite), 4);
    EXPECT_EQ(count(blank, kNavy), 24 * 16 - 4);
}

TEST(QtSurfaceTest, SpriteShowsBackgroundOutsideItsShapeAndItsColoursInside) {
    // A 10 x 10 sprite: a 4 x 4 shape at (3, 3), red with a green top row, on white.
    QImage mask = Filled(10, 10, kWhite);
    QImage picture = Filled(10, 10, kWhite);
    for (int y = 3; y < 7; ++y) {
        for (int x = 3; x < 7; ++x) {
            mask.setPixel(x, y, qRgb(0, 0, 0));
            picture.setPixel(x, y, y == 3 ? qRgb(0, 255, 0) : qRgb(255, 0, 0));
        }
    }
    QtSurface surface(QSize(60, 60));
    surface.Clear(kNavy);
    // Drawn twice the size at (20, 10): the shape covers (26..33, 16..23).
    surface.DrawPicture(QtPicture(mask), 20, 10, 20, 20, RasterOp::MergePaint);
    EXPECT_EQ(Covered(surface, kWhite), QRect(26, 16, 8, 8));
    EXPECT_EQ(At(surface, 21, 11), kNavy);
    surface.DrawPicture(QtPicture(picture), 20, 10, 20, 20, RasterOp::And);
    EXPECT_EQ(Covered(surface, kGreen), QRect(26, 16, 8, 2));
    EXPECT_EQ(Covered(surface, kRed), QRect(26, 18, 8, 6));
    EXPECT_TRUE(Covered(surface, kWhite).isNull());
    // Right next to the shape, inside the sprite's rectangle, the background is untouched.
    for (const QPoint p : {QPoint(25, 20), QPoint(34, 20), QPoint(30, 15), QPoint(30, 24), QPoint(20, 10),
                           QPoint(39, 29)})
        EXPECT_EQ(At(surface, p.x(), p.y()), kNavy) << p.x() << "," << p.y();
}

TEST(QtSurfaceTest, CopyPaintReplacesTheAreaScaledAndRounded) {
    QtSurface surface(QSize(30, 30));
    surface.Clear(kNavy);
    // 4.5 rounds to 4 and 5.5 to 6 (halves to even); 10 x 8 pixels from there.
    surface.DrawPicture(QtPicture(Filled(3, 2, kRed)), 4.5, 5.5, 10, 8, RasterOp::Copy);
    EXPECT_EQ(Covered(surface, kRed), QRect(4, 6, 10, 8));
}

TEST(QtSurfaceTest, RoundRectCoversLeftToRightMinusOneWithOutlineAndFill) {
    QtSurface surface(QSize(50, 40));
    surface.Clear(kNavy);
    surface.RoundRect(10, 5, 40, 30, 10, kRed, kGreen);
    QRect all = Covered(surface, kRed) | Covered(surface, kGreen);
    EXPECT_EQ(all, QRect(QPoint(10, 5), QPoint(39, 29)));
    EXPECT_EQ(At(surface, 25, 5), kRed);    // outline along the top
    EXPECT_EQ(At(surface, 39, 17), kRed);   // and down the right, at right - 1
    EXPECT_EQ(At(surface, 25, 17), kGreen); // filled inside
    EXPECT_EQ(At(surface, 10, 5), kNavy);   // the corners are rounded off
    EXPECT_EQ(At(surface, 39, 29), kNavy);

    // With a 0 corner it is a plain rectangle, corners included; one without a fill is not filled.
    surface.Clear(kNavy);
    surface.RoundRect(10, 5, 40, 30, 0, kRed, std::nullopt);
    EXPECT_EQ(Covered(surface, kRed), QRect(QPoint(10, 5), QPoint(39, 29)));
    EXPECT_EQ(At(surface, 10, 5), kRed);
    EXPECT_EQ(At(surface, 39, 29), kRed);
    EXPECT_EQ(At(surface, 25, 17), kNavy);
    EXPECT_TRUE(Covered(surface, kGreen).isNull());
}

TEST(QtSurfaceTest, RoundRectsOfOneShapeTakeTheirOwnColoursAndKeepWhatLiesAroundTheirCorners) {
    // Tiles of one size are drawn many times over; each must come out in its own colours and place.
    QtSurface surface(QSize(120, 40));
    surface.Clear(kNavy);
    surface.FillBox(0, 0, 119, 19, kWhite);  // the upper half white
    surface.RoundRect(10, 5, 40, 30, 10, kRed, kGreen);
    surface.RoundRect(50, 6, 80, 31, 10, kGreen, kRed);
    surface.RoundRect(85, 5, 115, 30, 10, kGreen, std::nullopt);

    EXPECT_EQ(At(surface, 25, 17), kGreen);
    EXPECT_EQ(At(surface, 25, 5), kRed);
    EXPECT_EQ(At(surface, 65, 18), kRed);
    EXPECT_EQ(At(surface, 65, 6), kGreen);
    EXPECT_EQ(At(surface, 79, 18), kGreen);
    EXPECT_EQ(At(surface, 100, 5), kGreen);
    EXPECT_EQ(At(surface, 100, 12), kWhite);  // not filled: both halves show through
    EXPECT_EQ(At(surface, 100, 25), kNavy);
    // The rounded-off corners keep what was there: white above, navy below.
    EXPECT_EQ(At(surface, 10, 5), kWhite);
    EXPECT_EQ(At(surface, 50, 6), kWhite);
    EXPECT_EQ(At(surface, 39, 29), kNavy);
    EXPECT_EQ(At(surface, 79, 30), kNavy);
    EXPECT_EQ(Covered(surface, kGreen) | Covered(surface, kRed), QRect(QPoint(10, 5), QPoint(114, 30)));
}

TEST(QtSurfaceTest, LineBoxesIncludeBothCornersInEitherOrder) {
    QtSurface surface(QSize(30, 30));
    surface.Clear(kNavy);
    // 5.5 -> 6, 2.5 -> 2, 10.5 -> 10: halves go to the even neighbour.
    surface.FillBox(10.5, 4, 5.5, 2.5, kRed);
    EXPECT_EQ(Covered(surface, kRed), QRect(QPoint(6, 2), QPoint(10, 4)));

    surface.Clear(kNavy);
    surface.Box(3, 3, 12, 9, kGreen);
    EXPECT_EQ(Covered(surface, kGreen), QRect(QPoint(3, 3), QPoint(12, 9)));
    EXPECT_EQ(At(surface, 12, 9), kGreen);
    EXPECT_EQ(At(surface, 7, 6), kNavy);

    surface.Clear(kNavy);
    surface.Line(2, 20, 2, 25, kRed);
    EXPECT_EQ(At(surface, 2, 20), kRed);
    EXPECT_EQ(At(surface, 2, 24), kRed);
    EXPECT_EQ(At(surface, 3, 22), kNavy);
}

TEST(QtSurfaceTest, TextIsDrawnWithItsTopLeftAtThePointAndMeasuredInItsFont) {
    EXPECT_EQ(QFontInfo(GameFont(20)).family(), QStringLiteral("IPAPGothic"));
    QtSurface surface(QSize(200, 100));
    surface.Clear(kWhite);
    surface.DrawText(10.5, 20, "ゴール", Font{20, false}, kBlack);  // 10.5 rounds to 10
    const QRect text = Covered(surface, kBlack);
    ASSERT_FALSE(text.isNull());
    // 20 points at 96 dpi is a 27-pixel em: the glyphs sit just inside it, below and right of the point.
    EXPECT_GE(text.left(), 10);
    EXPECT_LE(text.left(), 14);
    EXPECT_GE(text.top(), 20);
    EXPECT_LE(text.top(), 26);
    EXPECT_LE(text.bottom(), 20 + 30);
    EXPECT_GE(text.width(), 3 * 20);  // three full-width characters
    const TextExtent extent = surface.MeasureText("ゴール", Font{20, false});
    EXPECT_GE(extent.height, 26);
    EXPECT_LE(extent.height, 40);
    EXPECT_GE(extent.width, text.width());
    // Only the text's colour and the background: no blended edges.
    EXPECT_EQ(Covered(surface, kBlack) | Covered(surface, kWhite), QRect(0, 0, 200, 100));
}

TEST(QtSurfaceTest, TextDrawnAgainInAnotherSizeOrWeightTakesThatSizeAndWeight) {
    QtSurface surface(QSize(300, 120));
    int inked[3] = {};
    QRect extent[3];
    const Font fonts[3] = {{10, false}, {20, false}, {20, true}};
    for (int i = 0; i < 3; ++i) {
        surface.Clear(kWhite);
        surface.DrawText(0, 0, "スタート", fonts[i], kBlack);
        extent[i] = Covered(surface, kBlack);
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 300; ++x) inked[i] += At(surface, x, y) == kBlack;
    }
    EXPECT_GT(extent[1].width(), extent[0].width() * 17 / 10);
    EXPECT_GT(surface.MeasureText("スタート", fonts[1]).height, surface.MeasureText("スタート", fonts[0]).height * 1.7);
    EXPECT_GT(inked[2], inked[1] * 11 / 10) << "bold strokes are heavier";
}

TEST(QtSurfaceTest, CopiesGoBetweenSurfacesAndPictureBoxes) {
    QtSurface source(QSize(20, 20));
    source.Clear(kNavy);
    source.FillBox(2, 2, 3, 3, kRed);
    QtPictureBox box(nullptr);  // an off-screen picture box, as the hidden copy of the board is
    box.Move(0, 0, 20, 20);
    box.Clear(kWhite);
    EXPECT_TRUE(box.Copy(0, 0, 20, 20, source, 0, 0));
    EXPECT_EQ(Covered(box, kRed), QRect(2, 2, 2, 2));

    QtSurface back(QSize(20, 20));
    back.Clear(kWhite);
    EXPECT_TRUE(back.Copy(10, 5, 4, 4, box, 1, 1));  // from a picture box
    EXPECT_EQ(Covered(back, kRed), QRect(11, 6, 2, 2));
    EXPECT_EQ(Covered(back, kNavy) | Covered(back, kRed), QRect(10, 5, 4, 4));

    // A block reaching past the source's edge copies what is there and leaves the rest alone.
    back.Clear(kWhite);
    EXPECT_TRUE(back.Copy(0, 0, 20, 20, source, 15, 15));
    EXPECT_EQ(Covered(back, kNavy), QRect(0, 0, 5, 5));

    // Within one surface the copy reads the pixels as they were before it.
    EXPECT_TRUE(source.Copy(3, 3, 10, 10, source, 2, 2));
    EXPECT_EQ(Covered(source, kRed), QRect(2, 2, 3, 3));
}

// A surface that is not ours: copies from it cannot work.
class ForeignSurface : public Surface {
public:
    int PixelWidth() const override { return 10; }
    int PixelHeight() const override { return 10; }
    void Clear(Color) override {}
    void FillBox(double, double, double, double, Color) override {}
    void Box(double, double, double, double, Color) override {}
    void Line(double, double, double, double, Color) override {}
    void RoundRect(int, int, int, int, int, Color, std::optional<Color>) override {}
    void DrawText(double, double, std::string_view, Font, Color) override {}
    TextExtent MeasureText(std::string_view, Font) const override { return {}; }
    void DrawPicture(const Picture&, double, double, double, double, RasterOp) override {}
    bool Copy(int, int, int, int, const Surface&, int, int) override { return true; }
};

TEST(QtSurfaceTest, AWholeCopyRepeatsOnlyWhatChangedAndStaysExact) {
    QtSurface board(QSize(100, 80)), copy(QSize(100, 80));
    std::vector<QRect> copied;
    copy.SetChangedHandler([&](const QRect& area) { copied.push_back(area); });
    board.Clear(kRed);
    ASSERT_TRUE(copy.Copy(0, 0, 100, 80, board, 0, 0));
    EXPECT_EQ(Covered(copy, kRed), QRect(0, 0, 100, 80));

    // A change on the board: the next whole copy repeats that change only.
    board.FillBox(10, 10, 19, 19, kNavy);
    copied.clear();
    ASSERT_TRUE(copy.Copy(0, 0, 100, 80, board, 0, 0));
    QRect all;
    for (const QRect& area : copied) all |= area;
    EXPECT_TRUE(all.contains(QRect(10, 10, 10, 10)));
    EXPECT_LE(all.width() * all.height(), 12 * 12);
    EXPECT_EQ(Covered(copy, kNavy), QRect(10, 10, 10, 10));

    // Drawn on meanwhile, the copy is made whole again.
    copy.FillBox(60, 60, 69, 69, kGreen);
    ASSERT_TRUE(copy.Copy(0, 0, 100, 80, board, 0, 0));
    EXPECT_TRUE(Covered(copy, kGreen).isNull());
    EXPECT_EQ(copy.Image(), board.Image());

    // More changes than the board remembers: whole again, and still exact.
    for (int i = 0; i < 200; ++i) board.Line(i % 100, i % 80, i % 100, i % 80, kWhite);
    ASSERT_TRUE(copy.Copy(0, 0, 100, 80, board, 0, 0));
    EXPECT_EQ(copy.Image(), board.Image());
}

TEST(QtSurfaceTest, CopiesFailFromForeignSurfacesAndWithNegativeSizes) {
    QtSurface target(QSize(10, 10));
    QtSurface source(QSize(10, 10));
    EXPECT_FALSE(target.Copy(0, 0, 10, 10, ForeignSurface(), 0, 0));
    EXPECT_FALSE(target.Copy(0, 0, -1, 10, source, 0, 0));
}

TEST(SurfacePixelRatioTest, WholeAndNeverFewerThanShownUpToTheMostAScreenCanShow) {
    EXPECT_EQ(SurfacePixelRatio(1, 1), 1);
    EXPECT_EQ(SurfacePixelRatio(0.6, 1), 1);
    EXPECT_EQ(SurfacePixelRatio(1.25, 2.5), 2);  // sharp, then smoothed down
    EXPECT_EQ(SurfacePixelRatio(2.0000001, 2.5), 2);
    EXPECT_EQ(SurfacePixelRatio(18.576, 1.672), 2);  // 12000 pixels square on a 1920x1080 screen
    EXPECT_EQ(SurfacePixelRatio(18.576, 0), 19);     // no screen known
}

}  // namespace
}  // namespace kanuvo
