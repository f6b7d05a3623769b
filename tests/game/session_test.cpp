// SPDX-License-Identifier: MIT
// A whole session of the designed game, played with keys and buttons only, folded into one number:
// the state after every pass of the main loop and every sound asked for. The number was taken from
// the game as it was before clicks, pause and mute came in; unused, they must leave it as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "doubles.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/geometry.h"
#include "game/play.h"

namespace kanuvo {
namespace {

// FNV-1a, 64 bits.
class Digest {
public:
    void Add(const std::string& text) {
        for (unsigned char c : text) value_ = (value_ ^ c) * 1099511628211ull;
        value_ = (value_ ^ '\n') * 1099511628211ull;
    }
    void Add(long long number) { Add(std::to_string(number)); }
    std::uint64_t Value() const { return value_; }

private:
    std::uint64_t value_ = 14695981039346656037ull;
};

struct Session {
    Session() {
        t.form.onDoEvents = [this] { Pass(); };
    }

    // What the window would do between two passes: a time-limit tick each second of the clock
    // while that timer is on, the Game Over lettering, and the script's key presses and Stop.
    void Pass() {
        ++pass;
        if (pass > 300000) {
            ADD_FAILURE() << "the session did not end";
            g.Playing = false;
            return;
        }
        if (!t.form.timeLimitTimer.Enabled()) {
            nextSecond = 0;
        } else {
            if (nextSecond == 0) nextSecond = t.clock.now + 1000;
            while (t.form.timeLimitTimer.Enabled() && static_cast<std::int32_t>(t.clock.now - nextSecond) >= 0) {
                TimeLimitTick(g);
                nextSecond += 1000;
            }
        }
        if (t.form.gameOverTimer.Enabled()) GameOverTick(g);
        ++runPass;
        if (!keys.empty() && runPass % keyEvery == 0 && g.Playing) {
            BoardKeyDown(g, keys[keyIndex++ % keys.size()]);
        }
        if (stopAtPass != 0 && runPass == stopAtPass && g.Playing) StartStopClick(g);
        Record();
    }

    void Record() {
        digest.Add("pass " + std::to_string(pass) + " t " + std::to_string(t.clock.now));
        for (long long v : {g.Stage, g.BoardSize, g.Lives, int(g.Playing), int(g.BoardReady), int(g.StepDue),
                            g.SlideTarget, g.SlideSource, KindNumber(g.SlideKind), g.TimeCount, int(g.RouteActive),
                            g.RouteCell, DirectionCode(g.Heading), g.TruckRect.left, g.TruckRect.top, g.TruckRect.right,
                            g.TruckRect.bottom, g.TruckCells[0], g.TruckCells[1], g.ZoomWidth})
            digest.Add(v);
        digest.Add(static_cast<long long>(g.LastStepTime));
        for (int i = 1; i <= g.BoardSize * g.BoardSize; ++i) digest.Add(KindNumber(g.Cells[i]));
        digest.Add(static_cast<long long>(t.form.gaugeBar.Width() * 1000));
        digest.Add(t.form.startStopButton.Caption());
    }

    void Run(std::vector<int> runKeys, int every, int stopAt = 0) {
        keys = std::move(runKeys);
        keyEvery = every;
        keyIndex = 0;
        stopAtPass = stopAt;
        runPass = 0;
        StartStopClick(g);
        while (t.form.gameOverTimer.Enabled()) GameOverTick(g);
        Record();
        NewGameClick(g);
        Record();
    }

    testing::TestGame t;
    Game& g = t.game;
    Digest digest;
    long pass = 0;
    int runPass = 0;
    std::uint32_t nextSecond = 0;
    std::vector<int> keys;
    std::size_t keyIndex = 0;
    int keyEvery = 1;
    int stopAtPass = 0;
};

TEST(Session, KeysAndButtonsAlonePlayTheDesignedGame) {
    Session s;
    Game& g = s.g;
    FormLoad(g);
    for (int tick = 0; tick < 11; ++tick) TitleTick(g);
    s.Record();
    // Arrows, keypad, letters (M among them) and others; never P or Escape.
    const std::vector<int> keys{38, 40, 37, 39, 'A', 104, 98, 'M', 100, 102, 13, 32, 39, 39, 38, 37};
    s.Run(keys, 3);      // stage 1 until the time runs out
    s.Run(keys, 2, 40);  // stage 1, given up
    testing::LayLeftThenUpRoad(g);
    s.Run({'A'}, 3);     // stage 1 cleared
    s.Run(keys, 5);      // stage 2: the truck crashes
    // Stage 2 won: the road runs 16, 15, 14 (up), 10, 6, 2 (left) into the goal once Left slides
    // the straight of cell 11 into the gap in 10, long before the truck gets there.
    const int kinds[17] = {0, 0, 1, 3, 2, 5, 4, 1, 2, 3, 0, 4, 2, 1, 5, 6, 0};
    for (int i = 1; i <= 16; ++i) g.Cells[i] = KindOfNumber(kinds[i]);
    g.StartExit = ExitLeft;
    PlaceTruckAtStart(g);
    s.Run({37}, 50);
    s.Run(keys, 3);      // stage 3 until the time runs out
    s.Run(keys, 2, 30);  // stage 3, given up
    s.Run(keys, 4);      // stage 3 until the time runs out: Game Over
    s.Run(keys, 2);      // stage 1 again
    for (const std::string& command : s.t.sound.commands) s.digest.Add(command);
    for (const auto& wave : s.t.sound.waves) s.digest.Add(wave.path + " " + std::to_string(wave.flags));

    EXPECT_EQ(g.Stage, 1);
    EXPECT_EQ(s.t.sound.waves.size(), 9u);
    EXPECT_EQ(s.digest.Value(), 0x38618ca8984e344full) << std::hex << s.digest.Value();
}

}  // namespace
}  // namespace kanuvo
