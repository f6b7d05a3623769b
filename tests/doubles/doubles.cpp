// The test doubles' behaviour.
#include "doubles.h"


#include "game/media.h"

namespace kanuvo::testing {

namespace {
const std::map<int, std::pair<int, int>> kPictureSizes{
    {101, {200, 97}}, {102, {200, 97}}, {103, {70, 145}}, {104, {150, 310}}, {105, {200, 97}},
    {106, {200, 97}}, {107, {70, 145}}, {108, {150, 310}}, {109, {652, 650}}, {110, {600, 270}},
    {111, {600, 270}}};

}  // namespace

std::unique_ptr<Picture> FakeSystem::LoadResPicture(int id) {
    auto size = kPictureSizes.find(id);
    if (id == failingPictureId || size == kPictureSizes.end()) return nullptr;
    return std::make_unique<FakePicture>(id, size->second.first, size->second.second);
}

CursorHandle FakeSystem::LoadCursorFromFileA(std::string_view path) {
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
    s.StartExit = 1;  // left
    for (int i = 1; i <= 16; ++i) s.Cells[i] = kKinds[i];
}

TestGame::TestGame(int innerWidth, int innerHeight)
    : form(clock, innerWidth, innerHeight), game(form, system, clock, sound) {
    LoadPictures(game);
}

}  // namespace kanuvo::testing
