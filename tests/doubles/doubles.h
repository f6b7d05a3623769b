// SPDX-License-Identifier: MIT
// Test doubles of the platform: a manual clock, a recording sound, a scripted system and a window
// whose controls remember what the game did to them. Surfaces record their drawing calls and pixels.
#pragma once

#include <algorithm>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/rounding.h"
#include "platform/form.h"
#include "platform/surface.h"
#include "platform/system.h"

namespace kanuvo {
// Tile kinds and directions by name in test failures.
std::ostream& operator<<(std::ostream& out, TileKind kind);
std::ostream& operator<<(std::ostream& out, Direction d);
}  // namespace kanuvo

namespace kanuvo::testing {

// Directions by their codes 1..4, as the game's design tables list them.
constexpr Direction DirectionOfCode(int code) { return static_cast<Direction>(code); }

class ManualClock : public Clock {
public:
    std::uint32_t Now() override { return now; }
    void Advance(std::uint32_t ms) { now += ms; }
    std::uint32_t now = 1000;
};

struct WavePlay {
    std::string path;
    unsigned flags;
};

// Records every call as the design's media-control command it stands for, and every effect with the
// design's flags (0x13), so that a session's sound reads as the design writes it.
class RecordingSound : public Sound {
public:
    void OpenMusic(const std::string& path) override { Command("open \"" + path + "\" type sequencer alias gBGMfile"); }
    void PlayMusicFromStart() override { Command("play gBGMfile from 0 "); }
    void StopMusic() override { Command("stop gBGMfile "); }
    void CloseMusic() override { Command("close gBGMfile "); }
    void PlayEffect(const std::string& path) override { waves.push_back({path, 0x13}), calls.push_back(path); }
    bool MusicEnded() const override { return musicEnded; }
    bool musicEnded = false;  // what the device says of the tune's last play
    std::vector<std::string> commands;
    std::vector<WavePlay> waves;
    std::vector<std::string> calls;  // the commands and the effects' paths together, in the order they came

private:
    void Command(const std::string& command) { commands.push_back(command), calls.push_back(command); }
};

// Thrown by FakeSystem::End so a test sees the program end where it would.
struct ProgramEnded : std::runtime_error {
    ProgramEnded() : std::runtime_error("program ended") {}
};

class FakePicture : public Picture {
public:
    FakePicture(int id, int width, int height) : id(id), width_(width), height_(height) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    int id;

private:
    int width_, height_;
};

class FakeSystem : public System {
public:
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    void End(int status) override {
        ++ends;
        exitStatus = status;
        throw ProgramEnded();
    }
    bool AnotherCopyRuns() override { return anotherCopyRuns; }
    std::string ProgramFolder() override { return path; }
    int ScreenHeight() override { return screenHeightPixels; }
    int AvailableScreenHeight() override { return availableHeightPixels > 0 ? availableHeightPixels : screenHeightPixels; }
    std::unique_ptr<Picture> LoadPicture(int id) override;
    CursorHandle LoadPointerFile(std::string_view path) override;
    CursorHandle Pointer() override { return currentCursor; }
    bool SetPointer(CursorHandle cursor) override {
        cursorCalls.push_back(cursor);
        if (!setCursorWorks) return false;
        currentCursor = cursor;
        return true;
    }

    std::optional<int> LoadBestTime(int stage) override {
        const auto kept = bestTimes.find(stage);
        return kept == bestTimes.end() ? std::nullopt : std::optional<int>(kept->second);
    }
    void SaveBestTime(int stage, int seconds) override { bestTimes[stage] = seconds; }

    std::vector<std::string> messages;
    std::map<int, int> bestTimes;  // seconds by stage
    int ends = 0;
    int exitStatus = -1;  // the status of the last End
    bool anotherCopyRuns = false;
    std::string path = "/opt/kanuvo";
    int screenHeightPixels = 768;
    int availableHeightPixels = 0;             // what panels leave of the screen; 0: all of it
    int failingPictureId = 0;                  // this resource id cannot be loaded
    std::vector<std::string> cursorFiles;      // paths whose cursors load
    std::vector<std::string> cursorPathsAsked; // every LoadPointerFile path
    CursorHandle currentCursor = 7;            // the standard arrow
    bool setCursorWorks = true;
    std::vector<CursorHandle> cursorCalls;     // every SetPointer cursor
};

// Numbers joined by blanks, for the drawing log.
inline std::string Join(std::initializer_list<double> values) {
    std::string out;
    for (double v : values) {
        if (!out.empty()) out += ' ';
        std::string text = std::to_string(v);
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
        out += text;
    }
    return out;
}

// The pixels of a recording surface, drawn plainly: boxes and lines exactly, a rounded rectangle with
// square corners, a text as a block of its colour as wide as its measure and as high as its font,
// a picture as a block of the colour numbered by its id (its mask as nothing).
class PixelGrid {
public:
    PixelGrid(int width, int height) { Resize(width, height); }
    virtual ~PixelGrid() = default;
    void Resize(int width, int height);
    // The colour at (x, y); 0xFF000000 outside the surface.
    Color Pixel(int x, int y) const;
    int GridWidth() const { return width_; }
    int GridHeight() const { return height_; }
    bool SamePixels(const PixelGrid& other) const { return pixels_ == other.pixels_; }

protected:
    // Fills the pixels from (x1, y1) to (x2, y2), both included, rounded halves to even, cut to the surface.
    void Fill(double x1, double y1, double x2, double y2, Color color);
    void Set(int x, int y, Color color);
    void CopyFrom(const PixelGrid& source, int x, int y, int width, int height, int sourceX, int sourceY);
    void SetAll(Color color) { std::fill(pixels_.begin(), pixels_.end(), color); }
    void Bresenham(int x1, int y1, int x2, int y2, Color color);

private:
    int width_ = 0, height_ = 0;
    std::vector<Color> pixels_;
};

// A drawing surface that keeps a log of what was drawn, and its pixels; Base is Surface or a kind of
// surface such as a picture box.
template <class Base>
class RecordingSurfaceOf : public Base, public PixelGrid {
public:
    explicit RecordingSurfaceOf(int width = 600, int height = 600) : PixelGrid(width, height) { SetAll(kWindowFace); }
    int PixelWidth() const override { return GridWidth(); }
    int PixelHeight() const override { return GridHeight(); }
    void Clear(Color color) override {
        SetAll(color);
        log.push_back("Clear " + std::to_string(color));
    }
    void FillBox(double x1, double y1, double x2, double y2, Color color) override {
        Fill(x1, y1, x2, y2, color);
        log.push_back("FillBox " + Join({x1, y1, x2, y2}) + " " + std::to_string(color));
    }
    void Box(double x1, double y1, double x2, double y2, Color color) override {
        Outline(x1, y1, x2, y2, color);
        log.push_back("Box " + Join({x1, y1, x2, y2}) + " " + std::to_string(color));
    }
    void Line(double x1, double y1, double x2, double y2, Color color) override {
        Bresenham(RoundHalfEven(x1), RoundHalfEven(y1), RoundHalfEven(x2), RoundHalfEven(y2), color);
        log.push_back("Line " + Join({x1, y1, x2, y2}) + " " + std::to_string(color));
    }
    void RoundRect(int left, int top, int right, int bottom, int corner, Color outline,
                   std::optional<Color> fill) override {
        if (fill) Fill(left, top, right - 1, bottom - 1, *fill);
        Outline(left, top, right - 1, bottom - 1, outline);
        log.push_back("RoundRect " + Join({double(left), double(top), double(right), double(bottom), double(corner)}) +
                      " " + std::to_string(outline) + " " + (fill ? std::to_string(*fill) : "none"));
    }
    void DrawText(double x, double y, std::string_view text, Font font, Color color) override {
        const TextExtent extent = MeasureText(text, font);
        Fill(x, y, x + extent.width - 1, y + extent.height - 1, color);
        log.push_back("Text " + Join({x, y, font.points}) + " " + std::to_string(color) + (font.bold ? " bold " : " ") +
                      std::string(text));
    }
    // Every character is as wide as the font is high, in pixels.
    TextExtent MeasureText(std::string_view text, Font font) const override {
        double characters = 0;
        for (unsigned char c : text) characters += (c & 0xC0) != 0x80;  // continuation bytes are not characters
        const double height = font.points * 4.0 / 3.0;
        return {characters * height, height};
    }
    void DrawPicture(const Picture& picture, double x, double y, double w, double h, RasterOp op) override {
        const auto* fake = dynamic_cast<const FakePicture*>(&picture);
        const int id = fake ? fake->id : 0;
        if (op != RasterOp::MergePaint) Fill(x, y, x + w - 1, y + h - 1, static_cast<Color>(id));
        const char* opName = op == RasterOp::Copy ? "copy" : op == RasterOp::MergePaint ? "mergepaint" : "and";
        log.push_back("Picture " + std::to_string(id) + " " + Join({x, y, w, h}) + " " + opName);
    }
    bool Copy(int x, int y, int w, int h, const Surface& source, int sx, int sy) override {
        log.push_back("Copy " + Join({double(x), double(y), double(w), double(h), double(sx), double(sy)}));
        if (copiesFail) return false;
        if (const auto* from = dynamic_cast<const PixelGrid*>(&source)) CopyFrom(*from, x, y, w, h, sx, sy);
        return true;
    }

    std::vector<std::string> log;  // one line per drawing call
    bool copiesFail = false;       // Copy reports failure

private:
    void Outline(double x1, double y1, double x2, double y2, Color color) {
        Fill(x1, y1, x2, y1, color);
        Fill(x1, y2, x2, y2, color);
        Fill(x1, y1, x1, y2, color);
        Fill(x2, y1, x2, y2, color);
    }
};

using RecordingSurface = RecordingSurfaceOf<Surface>;

// A control that remembers its place and visibility; Base is a kind of control.
template <class Base>
class FakeControlOf : public Base {
public:
    void Move(double left, double top, double width, double height) override {
        left_ = left, top_ = top, width_ = width, height_ = height;
    }
    double Left() const override { return left_; }
    double Top() const override { return top_; }
    double Width() const override { return width_; }
    double Height() const override { return height_; }
    void SetVisible(bool visible) override { visible_ = visible; }
    bool Visible() const { return visible_; }

protected:
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = false;
};

class FakeButton : public FakeControlOf<Button> {
public:
    FakeButton(std::string caption, bool enabled) : caption_(std::move(caption)), enabled_(enabled) {}
    void SetWidth(double width) override { this->width_ = width; }
    void SetCaption(std::string_view caption) override { caption_ = caption; }
    std::string Caption() const { return caption_; }
    void SetFontSize(double points) override { fontSize_ = points; }
    double FontSize() const { return fontSize_; }
    bool Enabled() const { return enabled_; }
    void SetDimmed(bool dimmed) override { dimmed_ = dimmed; }
    bool Dimmed() const { return dimmed_; }
    void SetHint(std::string_view hint) override { hint_ = hint; }
    std::string Hint() const { return hint_; }

private:
    bool dimmed_ = false;
    std::string hint_;
    std::string caption_;
    bool enabled_;
    double fontSize_ = 9;
};

class FakePictureBox : public RecordingSurfaceOf<FakeControlOf<PictureBox>> {
public:
    void SetFocus() override { ++focusCount; }
    int focusCount = 0;
};



// The window. It notes the wake the game asks for; TestGame::PlayRun plays the part of its timer.
class FakeForm : public Form {
public:
    explicit FakeForm(ManualClock& clock, int innerWidth = 620, int innerHeight = 600);

    Surface& Canvas() override { return canvas; }
    PictureBox& BoardView() override { return boardView; }
    PictureBox& BoardCopy() override { return boardCopy; }
    Button& ExitButton() override { return exitButton; }
    Button& NewGameButton() override { return newGameButton; }
    Button& StartStopButton() override { return startStopButton; }
    Button& GaugeFrame() override { return gaugeFrame; }
    Button& GaugeBar() override { return gaugeBar; }
    PictureBox& HelpView() override { return helpView; }
    void SetSize(int width, int height) override { outerWidth = width, outerHeight = height; }
    void Close() override { ++unloads; }
    void SetWake(std::optional<int> ms) override { wake = ms; }

    // Queues an event (a key, a click) for the next pass of TestGame::PlayRun.
    void Queue(std::function<void()> action) { pending.push_back(std::move(action)); }

    ManualClock& clock;
    RecordingSurface canvas;
    FakePictureBox boardView, boardCopy, helpView;
    FakeButton exitButton{"終了", true}, newGameButton{"新ゲーム", true}, startStopButton{"スタート", true};
    FakeButton gaugeFrame{"", false}, gaugeBar{"", false};
    int outerWidth = 0, outerHeight = 0, unloads = 0;
    std::optional<int> wake;  // the last wake the game asked for
    std::vector<std::function<void()>> pending;
};

// A 4 x 4 board whose road leaves the start to the left and runs 15, 14, 13 (up), 9, 5 into the goal,
// with the gap in cell 11 where a first drawing leaves it.
void LayLeftThenUpRoad(GameState& s);

// Past the title, a stage 2 board laid with LayLeftThenUpRoad and drawn as a deal draws it, the road
// assist turned on, and a run started on it.
void StartAssistedTruckRun(Game& g);

// A game over the doubles, with all eleven pictures loaded and the geometry of a 620 x 600 window.
struct TestGame {
    explicit TestGame(int innerWidth = 620, int innerHeight = 600);
    ManualClock clock;
    FakeForm form;
    FakeSystem system;
    RecordingSound sound;
    Game game;

    // Plays a run to its end as a window would: each pass takes the events queued on the form, raises
    // the timer ticks due, runs onPass (the test's own keys and clicks, say), then the run's pass; between passes the clock moves on
    // to when the game next needs it, or a second while nothing is due (a held run), unless an event
    // is queued. A route trace
    // takes a pass a cell here, so that a test may press keys between its steps. Gives up, failing,
    // after kMaxPasses.
    bool PlayRun();
    // A click on Start (or Stop) as the window gives it: the click, then the passes of the run it
    // started, if any, until it ends.
    bool ClickStartStop();
    std::function<void()> onPass;
    long passes = 0;  // every pass PlayRun has made
    static constexpr long kMaxPasses = 100000;
};

}  // namespace kanuvo::testing
