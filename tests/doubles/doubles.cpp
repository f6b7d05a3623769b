// SPDX-License-Identifier: MIT
// The test doubles' behaviour.
#include "doubles.h"

#include <ostream>

#include "game/board.h"
#include "game/media.h"
#include "game/pictures.h"

namespace kanuvo {

std::ostream& operator<<(std::ostream& out, TileKind kind) { return out << TileName(kind); }

std::ostream& operator<<(std::ostream& out, Direction d) {
    static constexpr const char* kNames[] = {"None", "Left", "Right", "Up", "Down"};
    return out << kNames[DirectionCode(d)];
}

}  // namespace kanuvo

namespace kanuvo::testing {

std::unique_ptr<Picture> FakeSystem::LoadResPicture(int id) {
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

void FakeForm::DoEvents() {
    ++doEventsCalls;
    auto batch = std::move(pending);
    pending.clear();
    for (auto& action : batch) action();
    if (onDoEvents) onDoEvents();
}

void FakeForm::WaitForEvents(std::uint32_t untilTick) {
    ++waits;
    // Nothing arrives in a test unless queued: sleeping means the clock reaches the deadline.
    if (pending.empty() && static_cast<std::int32_t>(untilTick - clock.now) > 0) clock.now = untilTick;
}

void LayLeftThenUpRoad(GameState& s) {
    constexpr int kKinds[17] = {0, 0, 3, 1, 2, 4, 3, 1, 2, 4, 2, 0, 3, 5, 6, 6, 0};
    s.BoardSize = 4;
    s.StartExit = ExitLeft;
    for (int i = 1; i <= 16; ++i) s.Cells[i] = KindOfNumber(kKinds[i]);
}

TestGame::TestGame(int innerWidth, int innerHeight)
    : form(clock, innerWidth, innerHeight), game(form, system, clock, sound) {
    LoadPictures(game);
}

}  // namespace kanuvo::testing
