// SPDX-License-Identifier: MIT
// The words of the help page, the board's small hint, the sound notes and the road assist, each named
// once here; the window layer shows them as given, or translated where a translation exists.
#pragma once

namespace kanuvo::texts {

// The help page, from top to bottom.
inline constexpr const char* kHelpTitle = "ヘルプ";
inline constexpr const char* kHelpRouteStages = "ステージ 1・3・5・7：スタートからゴールまで道をつなぐとクリア";
inline constexpr const char* kHelpTruckStages = "ステージ 2・4・6・8・9：トラックがゴールに着くとクリア";
inline constexpr const char* kHelpMisses = "ミス：ストップ、3分の時間切れ、トラックのクラッシュ";
inline constexpr const char* kHelpRetries = "ミスすると のこりが1へり、0でミスするとゲームオーバー";
inline constexpr const char* kHelpSlideKeys = "矢印キー・テンキー 8 4 6 2・クリック：タイルを空きマスへ";
inline constexpr const char* kHelpOtherKeys = "P・Esc：一時停止　M：サウンド　A：道アシスト　F1：ヘルプ";
inline constexpr const char* kHelpStartStop = "スタート：始める　ストップ：やめる（ミスになる）";
inline constexpr const char* kHelpNewGameExit = "新ゲーム：次の盤を配る　終了：ゲームをおわる";
inline constexpr const char* kHelpBestTimes = "ベストタイム";
inline constexpr const char* kHelpNoTime = "--:--";  // a stage not cleared yet
inline constexpr const char* kHelpLicence = "MIT ライセンス";
inline constexpr const char* kHelpClose = "F1 か Esc でとじる";

// The hint in the board's free corner.
inline constexpr const char* kHelpHint = "F1 ヘルプ";

// The note that M shows for a moment.
inline constexpr const char* kSoundOff = "サウンド オフ";
inline constexpr const char* kSoundOn = "サウンド オン";

// The road assist: the note A shows, and the line a clear made with it shows instead of a best time.
inline constexpr const char* kAssistOn = "道アシスト オン";
inline constexpr const char* kAssistOff = "道アシスト オフ";
inline constexpr const char* kAssistNoBest = "道アシストあり：記録なし";

}  // namespace kanuvo::texts
