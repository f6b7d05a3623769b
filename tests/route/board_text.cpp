// SPDX-License-Identifier: MIT
// Boards written as text for the route and truck tests.
#include "board_text.h"

#include <sstream>
#include <stdexcept>
#include <string>

#include "game/board.h"
#include "game/geometry.h"
#include "game/media.h"

namespace kanuvo::testing {

void SetBoard(GameState& s, std::string_view text) {
    const int n = s.BoardSize;
    std::istringstream in{std::string(text)};
    std::string token;
    int cell = 0;
    while (in >> token) {
        if (++cell > n * n) break;
        if (token == "." || token == "G" || token == "S") {
            s.Cells[cell] = TileKind::Empty;
        } else if (token.size() == 1 && token[0] >= '1' && token[0] <= '6') {
            s.Cells[cell] = KindOfNumber(token[0] - '0');
        } else {
            throw std::invalid_argument("bad board token: " + token);
        }
    }
    if (cell != n * n) throw std::invalid_argument("board text does not have N*N cells");
}

std::string EmptyBoard(int n) {
    std::string text;
    for (int i = 0; i < n * n; ++i) text += ". ";
    return text;
}

int Plays(const RecordingSound& sound, std::string_view file) {
    int count = 0;
    for (const auto& wave : sound.waves) {
        if (wave.path.size() >= file.size() &&
            std::string_view(wave.path).substr(wave.path.size() - file.size()) == file) {
            ++count;
        }
    }
    return count;
}

void StartRun(Game& g, int stage, int boardSize, Direction startExit) {
    LoadSoundsAndCursors(g);
    g.Stage = stage;
    g.BoardSize = boardSize;
    g.Lives = 2;
    g.Cells.fill(TileKind::Empty);
    g.StartExit = startExit;
    ComputeCellRects(g);
    PlaceTruckAtStart(g);
    g.TruckCells = {StartCell(boardSize), StartCell(boardSize)};
    g.Playing = true;
    g.BoardReady = true;
}

}  // namespace kanuvo::testing
