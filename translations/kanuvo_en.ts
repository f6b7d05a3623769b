<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Banners</name>
    <message>
        <source>一時停止</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>P でつづける</source>
        <translation>Press P to go on</translation>
    </message>
    <message>
        <source>ステージクリア！</source>
        <translation>Stage clear!</translation>
    </message>
    <message>
        <source>新ゲームで次のステージへ</source>
        <translation>New Game for the next stage</translation>
    </message>
    <message>
        <source>新記録！</source>
        <translation>New record!</translation>
    </message>
    <message>
        <source>ベスト %1</source>
        <translation>Best %1</translation>
    </message>
    <message>
        <source>ストップ</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>クラッシュ！</source>
        <translation>Crash!</translation>
    </message>
    <message>
        <source>タイムアップ！</source>
        <translation>Time up!</translation>
    </message>
    <message>
        <source>のこり %1</source>
        <translation>Retries left: %1</translation>
    </message>
    <message>
        <source>新ゲームでもう一度</source>
        <translation>New Game to try again</translation>
    </message>
    <message>
        <source>新ゲームでステージ1から</source>
        <translation>New Game to begin again at Stage 1</translation>
    </message>
    <message>
        <source>一時停止ボタンでつづける</source>
        <translation>Tap Pause to go on</translation>
    </message>
</context>
<context>
    <name>Board</name>
    <message>
        <source>ゴール</source>
        <translation>GOAL</translation>
    </message>
    <message>
        <source>スタート</source>
        <translation>START</translation>
    </message>
    <message>
        <source>ｽﾃｰｼﾞ%1</source>
        <translation>Stage %1</translation>
    </message>
</context>
<context>
    <name>Buttons</name>
    <message>
        <source>スタート</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>ストップ</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>新ゲーム</source>
        <translation>New Game</translation>
    </message>
    <message>
        <source>Enter キーでもスタート</source>
        <translation>Enter also starts</translation>
    </message>
    <message>
        <source>N キーでも新ゲーム</source>
        <translation>N also deals a new game</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>使い方: kanuvo [--mute] [--lang ja|en] [--help] [--version]
タイルをすべらせて、スタートからゴールまで道をつなぐパズルです。
  --mute         音楽と効果音を消して始めます
  --lang ja|en   日本語 (ja) か英語 (en) で遊びます
  --help         この説明を表示して終わります
  --version      バージョンを表示して終わります
</source>
        <translation>Usage: kanuvo [--mute] [--lang ja|en] [--help] [--version]
A sliding-tile road puzzle: lay a road from the start to the goal.
  --mute         start with the music and the effects off
  --lang ja|en   play in Japanese (ja) or English (en)
  --help         show this help and quit
  --version      show the version and quit
</translation>
    </message>
    <message>
        <source>kanuvo: &apos;%1&apos; は知らないオプションです</source>
        <translation>kanuvo: unknown option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>kanuvo: --lang には ja か en を付けてください (&apos;%1&apos;)</source>
        <translation>kanuvo: --lang takes ja or en, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Kanuvo を動かすにはグラフィカルなディスプレイが必要です。デスクトップから起動してください。</source>
        <translation>Kanuvo needs a graphical display, and none could be opened: start it from a desktop session.</translation>
    </message>
    <message>
        <source>kanuvo: ウィンドウシステムを始められませんでした</source>
        <translation>kanuvo: the window system could not be started</translation>
    </message>
</context>
<context>
    <name>Controls</name>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>サウンド</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>道アシスト</source>
        <translation>Road assist</translation>
    </message>
    <message>
        <source>English</source>
        <translation>日本語</translation>
    </message>
    <message>
        <source>早送り</source>
        <translation>Fast-forward</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>ステージ 1・3・5・7：スタートからゴールまで道をつなぐとクリア</source>
        <translation>Stages 1, 3, 5, 7: join the road from START to GOAL to clear</translation>
    </message>
    <message>
        <source>ステージ 2・4・6・8・9：トラックがゴールに着くとクリア</source>
        <translation>Stages 2, 4, 6, 8, 9: clear when the truck reaches GOAL</translation>
    </message>
    <message>
        <source>ミス：ストップ、3分の時間切れ、トラックのクラッシュ</source>
        <translation>Misses: Stop, the 3 minutes running out, a truck crash</translation>
    </message>
    <message>
        <source>ミスすると のこりが1へり、0でミスするとゲームオーバー</source>
        <translation>A miss costs a retry; a miss with none left is Game Over</translation>
    </message>
    <message>
        <source>矢印キー・テンキー 8 4 6 2・クリック：タイルを空きマスへ</source>
        <translation>Arrow keys, keypad 8 4 6 2 or a click: slide a tile into the gap</translation>
    </message>
    <message>
        <source>P・Esc：一時停止&#x3000;M：サウンド&#x3000;A：道アシスト&#x3000;F1：ヘルプ</source>
        <translation>P, Esc: pause   M: sound   A: road assist   F1: help</translation>
    </message>
    <message>
        <source>スタート・Enter：始める&#x3000;ストップ：やめる（ミスになる）</source>
        <translation>Start, Enter: begin a run   Stop: give it up (a miss)</translation>
    </message>
    <message>
        <source>新ゲーム・N：次の盤を配る&#x3000;終了：ゲームをおわる</source>
        <translation>New Game, N: deal the next board   Exit: quit the game</translation>
    </message>
    <message>
        <source>ベストタイム</source>
        <translation>Best times</translation>
    </message>
    <message>
        <source>--:--</source>
        <translation>--:--</translation>
    </message>
    <message>
        <source>MIT ライセンス</source>
        <translation>MIT License</translation>
    </message>
    <message>
        <source>F1 か Esc でとじる</source>
        <translation>F1 or Esc closes this page</translation>
    </message>
    <message>
        <source>F1 ヘルプ</source>
        <translation>F1 Help</translation>
    </message>
    <message>
        <source>L：English</source>
        <translation>L: 日本語</translation>
    </message>
    <message>
        <source>空きマスのとなりのタイルをタップ：空きマスへ</source>
        <translation>Tap a tile next to the gap: it slides in</translation>
    </message>
    <message>
        <source>タップでとじる（F1・Esc でも）</source>
        <translation>Tap to close (or F1, Esc)</translation>
    </message>
    <message>
        <source>道がゴールまでつながったら F で早送り（タイムは同じ）</source>
        <translation>With the road laid to GOAL, F fast-forwards (the time is the same)</translation>
    </message>
    <message>
        <source>F：早送り</source>
        <translation>F: fast-forward</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>このアプリケーションはすでに開かれています。</source>
        <translation>Kanuvo is already running.</translation>
    </message>
    <message>
        <source>メモリーが足りません。</source>
        <translation>Not enough memory.</translation>
    </message>
    <message>
        <source>サウンドデータ読み込みエラー</source>
        <translation>The sound files could not be loaded.</translation>
    </message>
    <message>
        <source>画像データ読み込みエラー</source>
        <translation>The pictures could not be loaded.</translation>
    </message>
    <message>
        <source>このブラウザーでは、ベストタイムと設定を保存できません。</source>
        <translation>This browser cannot keep your best times and settings.</translation>
    </message>
</context>
<context>
    <name>Notes</name>
    <message>
        <source>サウンド オフ</source>
        <translation>Sound off</translation>
    </message>
    <message>
        <source>サウンド オン</source>
        <translation>Sound on</translation>
    </message>
    <message>
        <source>道アシスト オン</source>
        <translation>Road assist on</translation>
    </message>
    <message>
        <source>道アシスト オフ</source>
        <translation>Road assist off</translation>
    </message>
    <message>
        <source>道アシストあり：記録なし</source>
        <translation>Road assist on: no record</translation>
    </message>
    <message>
        <source>道アシスト オフ：この回は記録なし</source>
        <translation>Road assist off: no record this run</translation>
    </message>
</context>
</TS>
