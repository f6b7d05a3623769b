// SPDX-License-Identifier: MIT
// The buttons' captions, shared by the window that is made with them and the game that changes them.
#pragma once

#include "platform/text.h"

namespace kanuvo {

inline constexpr Text kExitCaption = KANUVO_TEXT("Buttons", "終了");
inline constexpr Text kNewGameCaption = KANUVO_TEXT("Buttons", "新ゲーム");
inline constexpr Text kStartCaption = KANUVO_TEXT("Buttons", "スタート");
inline constexpr Text kStopCaption = KANUVO_TEXT("Buttons", "ストップ");

}  // namespace kanuvo
