// SPDX-License-Identifier: MIT
// Plays the first board of stage 1 to a clear in the real window, with real key presses, and saves the
// window as a PNG: the README's picture of a cleared stage (./run screenshots). Not part of the game.
#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <array>
#include <cstdio>
#include <map>
#include <queue>
#include <vector>

#include "app/kanuvo_app.h"
#include "app/picture_resources.h"
#include "game/board.h"
#include "game/play.h"
#include "game/run_end.h"

namespace {

using kanuvo::GameState;

// The game's music and effects are not wanted for a picture.
class SilentSound : public kanuvo::Sound {
public:
    void OpenMusic(const std::string&) override {}
    void PlayMusicFromStart() override {}
    void StopMusic() override {}
    void CloseMusic() override {}
    void PlayEffect(const std::string&) override {}
    bool MusicEnded() const override { return false; }
};

struct Move {
    Qt::Key key;
    int step;  // where the tile that slides into the gap comes from, relative to the gap
};

// The arrow keys and the slides they make, refused where the game refuses them.
std::vector<Move> MovesFrom(int gap, int n) {
    std::vector<Move> moves;
    if (gap < n * n - n) moves.push_back({Qt::Key_Up, n});
    if (gap > n + 1) moves.push_back({Qt::Key_Down, -n});
    if (gap % n != 0 && gap != n * n - 1) moves.push_back({Qt::Key_Left, 1});
    if (gap % n != 1 && gap != 2) moves.push_back({Qt::Key_Right, -1});
    return moves;
}

// The fewest arrow keys that lay a road from the start to the goal, found breadth first.
std::vector<Qt::Key> KeysToClear(GameState board) {
    const int n = board.BoardSize;
    board.RunBoardSize = n;
    using Cells = decltype(GameState::Cells);
    std::map<Cells, std::pair<Cells, Qt::Key>> cameFrom;
    std::queue<Cells> waiting;
    waiting.push(board.Cells);
    cameFrom[board.Cells] = {board.Cells, Qt::Key_unknown};
    while (!waiting.empty() && cameFrom.size() < 2'000'000) {
        board.Cells = waiting.front();
        waiting.pop();
        if (!kanuvo::RoadToGoal(board).empty()) {
            std::vector<Qt::Key> keys;
            for (Cells at = board.Cells; cameFrom[at].second != Qt::Key_unknown; at = cameFrom[at].first) {
                keys.insert(keys.begin(), cameFrom[at].second);
            }
            return keys;
        }
        int gap = 0;
        for (int i = 2; i <= n * n - 1; ++i) {
            if (board.Cells[static_cast<std::size_t>(i)] == kanuvo::TileKind::Empty) gap = i;
        }
        for (const Move& move : MovesFrom(gap, n)) {
            Cells next = board.Cells;
            std::swap(next[static_cast<std::size_t>(gap)], next[static_cast<std::size_t>(gap + move.step)]);
            if (cameFrom.emplace(next, std::make_pair(board.Cells, move.key)).second) waiting.push(next);
        }
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s out.png\n", argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    kanuvo::InitPictureResources();
    QTemporaryDir scratch;
    kanuvo::QtClock clock;
    kanuvo::QtSystem system;
    system.SetLockPath(scratch.filePath("kanuvo.lock"));
    system.SetBestTimesPath(scratch.filePath("best_times.json"));  // never the player's own
    SilentSound sound;
    kanuvo::KanuvoApp app(clock, system, sound);
    app.Start();
    if (app.form.Closed()) return 1;
    kanuvo::FormMouseDown(app.game);  // past the title, as a click does

    const std::vector<Qt::Key> keys = KeysToClear(app.game);
    if (keys.empty()) {
        std::fprintf(stderr, "no road found on the first board\n");
        return 1;
    }
    // One key at a time, each after the trace of the one before has run its course.
    QWidget* board = app.form.BoardView().Widget();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        QTimer::singleShot(200 * static_cast<int>(i + 1), board, [board, key = keys[i]] {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(board, &press);
        });
    }
    app.form.StartStopButton().Widget().click();  // returns when the run has ended
    if (app.game.Stage != 2) {
        std::fprintf(stderr, "the run did not clear the stage\n");
        return 1;
    }
    return app.form.grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
