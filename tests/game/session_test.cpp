// SPDX-License-Identifier: MIT
// A whole session of the designed game, played with keys and buttons only and checked run by run: the
// sounds asked for, each at the pass of the run it came in, the state the run ends in, and a
// digest of the state after every pass. The values were taken from the game as it was before clicks,
// pause and mute came in; unused, they must leave every run as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
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
    // The value in hexadecimal, and a fresh start.
    std::string Take() {
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(value_));
        value_ = 14695981039346656037ull;
        return hex;
    }

private:
    std::uint64_t value_ = 14695981039346656037ull;
};

struct Session {
    // What comes before each pass of a run: a time-limit tick each second of the clock while that
    // timer is on, the Game Over lettering, and the script's key presses and Stop. The ticks are the
    // session's own, counted as they were when the values below were taken, not the game's timers.
    void Pass() {
        ++pass;
        if (pass > 300000) {
            ADD_FAILURE() << "the session did not end";
            g.Playing = false;
            return;
        }
        if (!g.TimeLimitTimer.Enabled()) {
            nextSecond = 0;
        } else {
            if (nextSecond == 0) nextSecond = t.clock.now + 1000;
            while (g.TimeLimitTimer.Enabled() && static_cast<std::int32_t>(t.clock.now - nextSecond) >= 0) {
                TimeLimitTick(g);
                nextSecond += 1000;
            }
        }
        if (g.GameOverTimer.Enabled()) GameOverTick(g);
        ++runPass;
        if (!keys.empty() && runPass % keyEvery == 0 && g.Playing) {
            BoardKeyDown(g, keys[keyIndex++ % keys.size()]);
        }
        if (stopAtPass != 0 && runPass == stopAtPass && g.Playing) StartStopClick(g);
        Record();
    }

    // The width of the Game Over lettering's next drawing while it grows, 0 otherwise, as the digest
    // has always taken it.
    int NextLetteringWidth() const {
        return g.GameOverDrawings > 0 && !g.GameOverHint ? 60 + 100 * g.GameOverDrawings : 0;
    }

    // The state after a pass, and every sound asked for since the last one, where it came.
    void Record() {
        digest.Add("pass " + std::to_string(pass) + " t " + std::to_string(t.clock.now));
        for (; soundsSeen < t.sound.calls.size(); ++soundsSeen) {
            const std::string& call = t.sound.calls[soundsSeen];
            digest.Add(call);
            // In short: a command's verb, an effect's file name.
            sounds += (sounds.empty() ? "" : ", ") + std::to_string(pass) + ' ' +
                      (call[0] == '/' ? call.substr(call.rfind('/') + 1) : call.substr(0, call.find(' ')));
        }
        for (long long v : {g.Stage, g.BoardSize, g.Lives, int(g.Playing), int(g.BoardReady), int(g.StepDue),
                            g.SlideTarget, g.SlideSource, KindNumber(g.SlideKind), g.TimeCount, int(g.RouteActive),
                            g.RouteCell, DirectionCode(g.Heading), g.TruckRect.left, g.TruckRect.top, g.TruckRect.right,
                            g.TruckRect.bottom, g.TruckCells[0], g.TruckCells[1], NextLetteringWidth()})
            digest.Add(v);
        digest.Add(static_cast<long long>(g.LastStepTime));
        for (int i = 1; i <= g.BoardSize * g.BoardSize; ++i) digest.Add(KindNumber(g.Cells[i]));
        digest.Add(static_cast<long long>(t.form.gaugeBar.Width() * 1000));
        digest.Add(t.form.startStopButton.Caption());
    }

    // A line of what came since the last checkpoint: the sounds, each after the pass it came in; the
    // pass and tick now; stage, lives and seconds used; the digest of every pass since the last line.
    void Checkpoint(const std::string& name) {
        log += name + ": " + sounds + "; pass " + std::to_string(pass) + ", " + std::to_string(t.clock.now) +
               " ms: stage " + std::to_string(g.Stage) + ", lives " + std::to_string(g.Lives) + ", time " +
               std::to_string(g.TimeCount) + "; " + digest.Take() + "\n";
        sounds.clear();
    }

    // A run from Start to its end, checked before New Game deals the next board.
    void Run(const std::string& name, std::vector<int> runKeys, int every, int stopAt = 0) {
        keys = std::move(runKeys);
        keyEvery = every;
        keyIndex = 0;
        stopAtPass = stopAt;
        runPass = 0;
        StartStopClick(g);
        // The passes come as the window once woke the game: at once while a trace runs, at the truck's
        // next step in a truck stage, a second later otherwise.
        for (;;) {
            Pass();
            if (!g.Playing) break;
            RunPass(g);
            if (!g.Playing) break;
            if (g.RouteActive) continue;
            const std::uint32_t wake = TakesTruckBranch(g.Stage)
                                           ? g.LastStepTime + static_cast<std::uint32_t>(g.StepInterval) + 1
                                           : t.clock.now + 1000;
            if (static_cast<std::int32_t>(wake - t.clock.now) > 0) t.clock.now = wake;
        }
        while (g.GameOverTimer.Enabled()) GameOverTick(g);
        Record();
        Checkpoint(name);
        NewGameClick(g);
        Record();
    }

    testing::TestGame t;
    Game& g = t.game;
    Digest digest;
    std::string sounds;
    std::size_t soundsSeen = 0;
    std::string log;
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
    s.Checkpoint("title");
    // Arrows, keypad, letters (M among them) and others; never P or Escape.
    const std::vector<int> keys{38, 40, 37, 39, 'A', 104, 98, 'M', 100, 102, 13, 32, 39, 39, 38, 37};
    s.Run("time runs out", keys, 3);
    s.Run("given up", keys, 2, 40);
    testing::LayLeftThenUpRoad(g);
    s.Run("cleared", {'A'}, 3);
    s.Run("the truck crashes", keys, 5);
    // Stage 2 won: the road runs 16, 15, 14 (up), 10, 6, 2 (left) into the goal once Left slides
    // the straight of cell 11 into the gap in 10, long before the truck gets there.
    const int kinds[17] = {0, 0, 1, 3, 2, 5, 4, 1, 2, 3, 0, 4, 2, 1, 5, 6, 0};
    for (int i = 1; i <= 16; ++i) g.Cells[i] = KindOfNumber(kinds[i]);
    g.StartExit = ExitLeft;
    PlaceTruckAtStart(g);
    s.Run("won", {37}, 50);
    s.Run("time runs out", keys, 3);
    s.Run("given up", keys, 2, 30);
    s.Run("Game Over", keys, 4);  // the time runs out
    s.Run("after Game Over", keys, 2);
    // A difference is shown line by line: the first line that moved names where the game changed.
    EXPECT_EQ(s.log, R"(title: 0 open; pass 0, 1000 ms: stage 1, lives 2, time 0; ba54c067c8691fcc
time runs out: 1 play, 261 stop, 261 stop2.wav; pass 261, 182000 ms: stage 1, lives 1, time 0; 70c92a2085a5ff7e
given up: 262 play, 301 stop, 301 stop, 301 stop2.wav; pass 301, 215000 ms: stage 1, lives 0, time 0; 442f6fec24d481bb
cleared: 302 play, 306 stop, 306 goal.wav; pass 306, 217000 ms: stage 2, lives 2, time 2; 5b0aa1616f67d5d6
the truck crashes: 307 play, 311 stop, 311 stop1.wav; pass 311, 217804 ms: stage 2, lives 1, time 0; 2944941c68733c6c
won: 312 play, 876 stop, 876 goal.wav; pass 876, 331168 ms: stage 3, lives 2, time 114; 356e442db6aae5a7
time runs out: 877 play, 1058 stop, 1058 stop2.wav; pass 1058, 512168 ms: stage 3, lives 1, time 0; 1c4977e3b80f9c2c
given up: 1059 play, 1088 stop, 1088 stop, 1088 stop2.wav; pass 1088, 539168 ms: stage 3, lives 0, time 0; 309679ba37c47393
Game Over: 1089 play, 1314 stop, 1314 GameOvaer.wav; pass 1314, 720168 ms: stage 1, lives 2, time 0; 1a700b45a422012c
after Game Over: 1315 play, 1496 stop, 1496 stop2.wav; pass 1496, 901168 ms: stage 1, lives 1, time 0; 6e95616581998dc7
)");
}

}  // namespace
}  // namespace kanuvo
