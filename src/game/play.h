// Play input and screen: sliding by key, the slide repaint, the title screen and pointer shapes, the
// full board redraw with its caption, and the time limit.
#pragma once

#include "game/game.h"

namespace kanuvo {

void Picture1KeyDown(Game& g, int keyCode);
void SlideByKey(Game& g, int keyCode);
void SlideUp(Game& g, int emptyCell);
void SlideDown(Game& g, int emptyCell);
void SlideLeft(Game& g, int emptyCell);
void SlideRight(Game& g, int emptyCell);
void RepaintSlide(Game& g, Surface& picture1, Surface& picture2);

void FormMouseDown(Game& g);  // ends the title screen
void Timer1Timer(Game& g);
void EndTitle(Game& g);
void Command1MouseMove(Game& g);
void Command2MouseMove(Game& g);
void Command3MouseMove(Game& g);
void Picture1MouseMove(Game& g);

void RedrawBoard(Game& g);
void PrintStageCaption(Game& g);

void Timer2Timer(Game& g);
void ShrinkGauge(Game& g);

}  // namespace kanuvo
