// SPDX-License-Identifier: MIT
// The words of the help page, the board's small hint, the sound notes and the road assist, each named
// once here; Say gives them in the player's language.
#pragma once

#include "platform/text.h"

namespace kanuvo::texts {

// The help page, from top to bottom.
inline constexpr Text kHelpTitle = KANUVO_TEXT("Help", "ヘルプ");
inline constexpr Text kHelpRouteStages = KANUVO_TEXT("Help", "ステージ 1・3・5・7：スタートからゴールまで道をつなぐとクリア");
inline constexpr Text kHelpTruckStages = KANUVO_TEXT("Help", "ステージ 2・4・6・8・9：トラックがゴールに着くとクリア");
inline constexpr Text kHelpFastForward = KANUVO_TEXT("Help", "道がゴールまでつながったら F で早送り（タイムは同じ）");
inline constexpr Text kHelpMisses = KANUVO_TEXT("Help", "ミス：ストップ、3分の時間切れ、トラックのクラッシュ");
inline constexpr Text kHelpRetries = KANUVO_TEXT("Help", "ミスすると のこりが1へり、0でミスするとゲームオーバー");
inline constexpr Text kHelpSlideKeys = KANUVO_TEXT("Help", "矢印キー・テンキー 8 4 6 2・クリック：タイルを空きマスへ");
inline constexpr Text kHelpOtherKeys = KANUVO_TEXT("Help", "P・Esc：一時停止　M：サウンド　A：道アシスト　F1：ヘルプ");
inline constexpr Text kHelpStartStop = KANUVO_TEXT("Help", "スタート・Enter：始める　ストップ：やめる（ミスになる）");
inline constexpr Text kHelpNewGameExit = KANUVO_TEXT("Help", "新ゲーム・N：次の盤を配る　終了：ゲームをおわる");
inline constexpr Text kHelpBestTimes = KANUVO_TEXT("Help", "ベストタイム");
inline constexpr Text kHelpNoTime = KANUVO_TEXT("Help", "--:--");  // a stage not cleared yet
inline constexpr Text kHelpLicence = KANUVO_TEXT("Help", "MIT ライセンス");
// The key that switches the language, named in the language it switches to.
inline constexpr Text kHelpLanguage = KANUVO_TEXT("Help", "L：English");
inline constexpr Text kHelpClose = KANUVO_TEXT("Help", "F1 か Esc でとじる");
// On a touch screen: how a finger slides a tile, and how the page goes again.
inline constexpr Text kHelpSlideTaps = KANUVO_TEXT("Help", "空きマスのとなりのタイルをタップ：空きマスへ");
inline constexpr Text kHelpCloseTap = KANUVO_TEXT("Help", "タップでとじる（F1・Esc でも）");

// What スタート and 新ゲーム show under the pointer: the keys that press them.
inline constexpr Text kStartKeyHint = KANUVO_TEXT("Buttons", "Enter キーでもスタート");
inline constexpr Text kNewGameKeyHint = KANUVO_TEXT("Buttons", "N キーでも新ゲーム");

// The hints in the board's free corner: F1 always, F while it would fast-forward the run.
inline constexpr Text kHelpHint = KANUVO_TEXT("Help", "F1 ヘルプ");
inline constexpr Text kFastForwardHint = KANUVO_TEXT("Help", "F：早送り");

// The note that M shows for a moment.
inline constexpr Text kSoundOff = KANUVO_TEXT("Notes", "サウンド オフ");
inline constexpr Text kSoundOn = KANUVO_TEXT("Notes", "サウンド オン");

// The road assist: the note A shows, and the line a clear made with it shows instead of a best time.
inline constexpr Text kAssistOn = KANUVO_TEXT("Notes", "道アシスト オン");
inline constexpr Text kAssistOff = KANUVO_TEXT("Notes", "道アシスト オフ");
// Turned off during a run, which has had its help all the same.
inline constexpr Text kAssistOffNoRecord = KANUVO_TEXT("Notes", "道アシスト オフ：この回は記録なし");
inline constexpr Text kAssistNoBest = KANUVO_TEXT("Notes", "道アシストあり：記録なし");

}  // namespace kanuvo::texts
