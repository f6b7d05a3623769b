// SPDX-License-Identifier: MIT
// The test doubles' behaviour.
#include "doubles.h"

#include <ostream>
#include <utility>

#include "game/board.h"
#include "game/flow.h"
#include "game/geometry.h"
#include "game/input.h"
#include "game/media.h"
#include "game/pictures.h"
#include "game/play.h"

namespace kanuvo {

std::ostream& operator<<(std::ostream& out, TileKind kind) { return out << TileName(kind); }

std::ostream& operator<<(std::ostream& out, Direction d) {
    static constexpr const char* kNames[] = {"None", "Left", "Right", "Up", "Down"};
    return out << kNames[DirectionCode(d)];
}

}  // namespace kanuvo

namespace kanuvo::testing {

void PixelGrid::Resize(int width, int height) {
    std::vector<Color> pixels(static_cast<std::size_t>(std::max(width, 0)) * std::max(height, 0), kWindowFace);
    for (int y = 0; y < std::min(height, height_); ++y)
        for (int x = 0; x < std::min(width, width_); ++x) pixels[y * width + x] = pixels_[y * width_ + x];
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_ = std::move(pixels);
}

Color PixelGrid::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFF000000;
    return pixels_[y * width_ + x];
}

void PixelGrid::Set(int x, int y, Color color) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[y * width_ + x] = color;
}

void PixelGrid::Fill(double x1, double y1, double x2, double y2, Color color) {
    const int left = std::max(0, std::min(RoundHalfEven(x1), RoundHalfEven(x2)));
    const int right = std::min(width_ - 1, std::max(RoundHalfEven(x1), RoundHalfEven(x2)));
    const int top = std::max(0, std::min(RoundHalfEven(y1), RoundHalfEven(y2)));
    const int bottom = std::min(height_ - 1, std::max(RoundHalfEven(y1), RoundHalfEven(y2)));
    if (left > right) return;
    for (int y = top; y <= bottom; ++y) std::fill(&pixels_[y * width_ + left], &pixels_[y * width_ + right] + 1, color);
}

void PixelGrid::Bresenham(int x1, int y1, int x2, int y2, Color color) {
    const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    for (int error = dx + dy;;) {
        Set(x1, y1, color);
        if (x1 == x2 && y1 == y2) return;
        const int twice = 2 * error;
        if (twice >= dy) error += dy, x1 += sx;
        if (twice <= dx) error += dx, y1 += sy;
    }
}

void PixelGrid::CopyFrom(const PixelGrid& source, int x, int y, int width, int height, int sourceX, int sourceY) {
    // Cut to both surfaces; read first, so that a copy within one surface reads the pixels as they were.
    const int left = std::max({0, -sourceX, -x}), top = std::max({0, -sourceY, -y});
    const int right = std::min({width, source.width_ - sourceX, width_ - x});
    const int bottom = std::min({height, source.height_ - sourceY, height_ - y});
    if (left >= right || top >= bottom) return;
    const std::vector<Color> from = &source == this ? pixels_ : std::vector<Color>();
    const std::vector<Color>& pixels = &source == this ? from : source.pixels_;
    for (int row = top; row < bottom; ++row) {
        const auto start = pixels.begin() + (sourceY + row) * source.width_ + sourceX;
        std::copy(start + left, start + right, pixels_.begin() + (y + row) * width_ + x + left);
    }
}


std::unique_ptr<Picture> FakeSystem::LoadPicture(int id) {
    if (id == failingPictureId) return nullptr;
    for (const PictureEntry& entry : kPictures) {
        if (entry.id == id) return std::make_unique<FakePicture>(id, entry.width, entry.height);
    }
    return nullptr;
}

CursorHandle FakeSystem::LoadPointerFile(std::string_view path) {
    cursorPathsAsked.emplace_back(path);
    for (std::size_t i = 0; i < cursorFiles.size(); ++i) {
        if (cursorFiles[i] == path) return 100 + i;
    }
    return 0;
}

FakeForm::FakeForm(ManualClock& clock, int innerWidth, int innerHeight)
    : clock(clock), canvas(innerWidth, innerHeight) {
    boardView.Resize(innerWidth, innerHeight);
    boardCopy.Resize(innerWidth, innerHeight);
}

void LayLeftThenUpRoad(GameState& s) {
    constexpr int kKinds[17] = {0, 0, 3, 1, 2, 4, 3, 1, 2, 4, 2, 0, 3, 5, 6, 6, 0};
    s.BoardSize = 4;
    s.StartExit = ExitLeft;
    for (int i = 1; i <= 16; ++i) s.Cells[i] = KindOfNumber(kKinds[i]);
}

void StartAssistedTruckRun(Game& g) {
    EndTitle(g);
    g.Stage = 2;
    NewGameClick(g);
    LayLeftThenUpRoad(g);
    PlaceTruckAtStart(g);
    RedrawBoard(g);
    PrintStageCaption(g);
    KeyDown(g, kKeyAssist);
    StartStopClick(g);
}

TestGame::TestGame(int innerWidth, int innerHeight)
    : form(clock, innerWidth, innerHeight), game(form, system, clock, sound) {
    LoadPictures(game);
}

bool TestGame::PlayRun() {
    for (long pass = 0; game.Playing; ++pass) {
        if (pass == kMaxPasses) return false;
        ++passes;
        for (auto& action : std::exchange(form.pending, {})) action();
        RaiseDueTicks(game);
        if (onPass) onPass();
        RunPass(game);
        // A queued event comes at once: the window sleeps only with nothing to hand the game.
        if (!game.Playing || !form.pending.empty()) continue;
        const std::optional<std::uint32_t> wake = NextWake(game);
        const std::uint32_t next = wake ? *wake : clock.now + 1000;
        if (static_cast<std::int32_t>(next - clock.now) > 0) clock.now = next;
    }
    return true;
}

bool TestGame::ClickStartStop() {
    StartStopClick(game);
    return PlayRun();
}

}  // namespace kanuvo::testing
