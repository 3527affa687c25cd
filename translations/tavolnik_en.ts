<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Choices</name>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>日本語</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>言語 (Language)(&amp;L)</source>
        <translation>&amp;Language (言語)</translation>
    </message>
    <message>
        <source>遊び方 (Style)(&amp;S)</source>
        <translation>&amp;Style (遊び方)</translation>
    </message>
    <message>
        <source>モダン</source>
        <translation>Modern</translation>
    </message>
    <message>
        <source>クラシック</source>
        <translation>Classic</translation>
    </message>
    <message>
        <source>BGM</source>
        <translation>BGM</translation>
    </message>
    <message>
        <source>効果音</source>
        <translation>Effects</translation>
    </message>
    <message>
        <source>アクセル</source>
        <translation>Accelerate</translation>
    </message>
    <message>
        <source>下のボタン (A / ✕)</source>
        <translation>South button (A / ✕)</translation>
    </message>
    <message>
        <source>ブレーキ</source>
        <translation>Brake</translation>
    </message>
    <message>
        <source>右のボタン (B / ○)</source>
        <translation>East button (B / ○)</translation>
    </message>
    <message>
        <source>左へ</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>十字キー左 / 左スティック</source>
        <translation>D-pad left / left stick</translation>
    </message>
    <message>
        <source>右へ</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>十字キー右 / 左スティック</source>
        <translation>D-pad right / left stick</translation>
    </message>
    <message>
        <source>上へ</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>十字キー上 / 左スティック</source>
        <translation>D-pad up / left stick</translation>
    </message>
    <message>
        <source>下へ</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>十字キー下 / 左スティック</source>
        <translation>D-pad down / left stick</translation>
    </message>
    <message>
        <source>次のメッセージ</source>
        <translation>Next message</translation>
    </message>
    <message>
        <source>Start / 下のボタン</source>
        <translation>Start / south button</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Start (一時停止中の Back でタイトルへ)</source>
        <translation>Start (Back while paused: to the title)</translation>
    </message>
    <message>
        <source>設定を保存できませんでした。
%1。
この設定は、ゲームを終えるまで有効です。</source>
        <translation>The setting could not be saved.
%1.
It holds until the game ends.</translation>
    </message>
    <message>
        <source>スペース</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>オフ</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>−18 dB</source>
        <translation>−18 dB</translation>
    </message>
    <message>
        <source>−12 dB</source>
        <translation>−12 dB</translation>
    </message>
    <message>
        <source>−6 dB</source>
        <translation>−6 dB</translation>
    </message>
</context>
<context>
    <name>HighScores</name>
    <message>
        <source>ランキングを保存できませんでした。
%1。
</source>
        <translation>The ranking could not be saved.
%1.
</translation>
    </message>
    <message>
        <source>まだ保存していない記録は、次のファイルに書きとめました。
%1
次に起動したとき、最初の保存でランキングに入ります。</source>
        <translation>The results not yet saved are kept in this file:
%1
The next start enters them into the ranking at its first save.</translation>
    </message>
    <message>
        <source>%1秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>記録を書きとめるファイルも作れませんでした。失われる記録:
</source>
        <translation>No file could be made to keep the results either. These results are lost:
</translation>
    </message>
    <message>
        <source>前に保存できなかった記録のファイルを、すべては読めませんでした。読めた記録はランキングに入れ、ファイルはそのまま残してあります。
%1</source>
        <translation>A file of results that could not be saved earlier could not be read in full. The results that could be read are in the rankings, and the file is left as it was.
%1</translation>
    </message>
</context>
<context>
    <name>KeySettingsDialog</name>
    <message>
        <source>一時停止中にタイトルへ戻るキー</source>
        <translation>the key that leaves a paused race for the title</translation>
    </message>
    <message>
        <source>一時停止のキー</source>
        <translation>a pause key</translation>
    </message>
    <message>
        <source>ボタンを押すキー</source>
        <translation>the key that presses buttons</translation>
    </message>
    <message>
        <source>フォーカスを移すキー</source>
        <translation>the key that moves the focus</translation>
    </message>
    <message>
        <source>キー設定</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>キー</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>ゲームパッド</source>
        <translation>Gamepad</translation>
    </message>
    <message>
        <source>欄をクリックして、使いたいキーを押してください。</source>
        <translation>Click a field and press the key you want.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>標準に戻す</source>
        <translation>Restore defaults</translation>
    </message>
    <message>
        <source>「%1」は%2なので、ほかの操作には使えません。</source>
        <translation>&quot;%1&quot; is %2, so it cannot be used for another action.</translation>
    </message>
    <message>
        <source>「%1」はもう「%2」に使われています。ほかのキーを選んでください。</source>
        <translation>&quot;%1&quot; is already used for &quot;%2&quot;. Please choose another key.</translation>
    </message>
    <message>
        <source>「%1」はほかのキーと組み合わせるキーなので、それだけでは操作に使えません。</source>
        <translation>&quot;%1&quot; is held with other keys, so it cannot be used for an action by itself.</translation>
    </message>
    <message>
        <source>「%1」のように Shift・Ctrl・Alt などと組み合わせたキーは使えません。キーをひとつだけ押してください。</source>
        <translation>A key pressed with Shift, Ctrl, Alt or the like, such as &quot;%1&quot;, cannot be used. Please press one key alone.</translation>
    </message>
    <message>
        <source>操作方法の画面を開くキー</source>
        <translation>the key that opens the controls window</translation>
    </message>
    <message>
        <source>全画面表示を切り替えるキー</source>
        <translation>the key that switches full screen</translation>
    </message>
</context>
<context>
    <name>Media</name>
    <message>
        <source>

コマンド: </source>
        <translation>

Command: </translation>
    </message>
    <message>
        <source>エラーはありません。</source>
        <translation>There is no error.</translation>
    </message>
    <message>
        <source>指定されたデバイス ID は無効です。</source>
        <translation>The device ID given is not valid.</translation>
    </message>
    <message>
        <source>コマンドに認識できないパラメータが含まれています。</source>
        <translation>The command holds a parameter that is not recognised.</translation>
    </message>
    <message>
        <source>認識できないコマンドです。</source>
        <translation>The command is not recognised.</translation>
    </message>
    <message>
        <source>サウンド デバイスを使用できません。音声出力の設定を確認してください。</source>
        <translation>The sound device cannot be used. Check the sound output settings.</translation>
    </message>
    <message>
        <source>指定されたデバイスは開かれていないか、認識されていません。</source>
        <translation>The device given is not open or not recognised.</translation>
    </message>
    <message>
        <source>デバイス ドライバを読み込めません。</source>
        <translation>The device driver cannot be loaded.</translation>
    </message>
    <message>
        <source>コマンドが指定されていません。</source>
        <translation>No command was given.</translation>
    </message>
    <message>
        <source>コマンドに必要な文字列のパラメータがありません。</source>
        <translation>A text parameter the command needs is missing.</translation>
    </message>
    <message>
        <source>コマンドに必要なパラメータがありません。</source>
        <translation>A parameter the command needs is missing.</translation>
    </message>
    <message>
        <source>このデバイスは指定された機能をサポートしていません。</source>
        <translation>The device does not support the function asked for.</translation>
    </message>
    <message>
        <source>指定されたファイルが見つかりません。</source>
        <translation>The file given cannot be found.</translation>
    </message>
    <message>
        <source>指定された値が範囲外です。</source>
        <translation>The value given is out of range.</translation>
    </message>
    <message>
        <source>指定された別名は既に使われています。</source>
        <translation>The alias given is already in use.</translation>
    </message>
    <message>
        <source>デバイス名が指定されていません。</source>
        <translation>No device name was given.</translation>
    </message>
    <message>
        <source>ファイルを再生できません。ファイルが壊れているか、形式が正しくありません。</source>
        <translation>The file cannot be played. It is damaged or not in a known format.</translation>
    </message>
    <message>
        <source>MIDI 音源がありません。サウンド フォントを確認してください。</source>
        <translation>There is no MIDI synthesiser. Check the sound font.</translation>
    </message>
    <message>
        <source>不明なエラーです (コード %1)。</source>
        <translation>Unknown error (code %1).</translation>
    </message>
</context>
<context>
    <name>Countdown</name>
    <message>
        <source>%1 ですぐスタート</source>
        <translation>%1 to start now</translation>
    </message>
</context>
<context>
    <name>PauseSign</name>
    <message>
        <source>%1 で再開</source>
        <translation>%1 to go on</translation>
    </message>
    <message>
        <source>T でタイトルへ</source>
        <translation>T for the title</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>設定のフォルダーを作れません</source>
        <translation>The settings folder cannot be made</translation>
    </message>
    <message>
        <source>設定のフォルダーに書き込めません</source>
        <translation>The settings folder cannot be written to</translation>
    </message>
    <message>
        <source>新しいファイルを書き込めません（ディスクがいっぱいか、書き込みが許されていません）</source>
        <translation>The new file cannot be written (the disk is full or writing is not allowed)</translation>
    </message>
    <message>
        <source>新しいファイルを置けません</source>
        <translation>The new file cannot be put in place</translation>
    </message>
    <message>
        <source>書き込んだファイルを読み返せません</source>
        <translation>The file written cannot be read back</translation>
    </message>
    <message>
        <source>書き込んだファイルが欠けています（ディスクがいっぱいかもしれません）</source>
        <translation>The file written is incomplete (the disk may be full)</translation>
    </message>
    <message>
        <source>壊れたファイルをよけておけません</source>
        <translation>The damaged file cannot be set aside</translation>
    </message>
    <message>
        <source>前のファイルを置き換えられません</source>
        <translation>The old file cannot be replaced</translation>
    </message>
    <message>
        <source>ほかのプログラムが設定のロック（%1）を持ったままです</source>
        <translation>Another program holds the settings lock (%1)</translation>
    </message>
    <message>
        <source>設定のロック（%1）が、ふつうのファイルでなく、フォルダーかリンクになっています</source>
        <translation>The settings lock (%1) is a folder or a link, not a plain file</translation>
    </message>
    <message>
        <source>ディスクがいっぱいです</source>
        <translation>The disk is full</translation>
    </message>
    <message>
        <source>保存の順番を待つうちにゲームが終わりました</source>
        <translation>The game ended while waiting its turn to save</translation>
    </message>
    <message>
        <source>設定のロック（%1）を開けません</source>
        <translation>The settings lock (%1) cannot be opened</translation>
    </message>
    <message>
        <source>設定のファイルが、ふつうのファイルでないもの（フォルダーや装置など）へのリンクになっています</source>
        <translation>The settings file is a link to something that is not a plain file (a folder, a device)</translation>
    </message>
    <message>
        <source>新しいファイルが、ゲームの読める大きさ（1 MiB）をこえてしまいます</source>
        <translation>The new file would be larger than the game can read (1 MiB)</translation>
    </message>
    <message>
        <source>保存中…</source>
        <translation>Saving…</translation>
    </message>
    <message>
        <source>設定のファイルが壊れていて、読めたところを書き戻せません</source>
        <translation>The settings file is damaged, and what could be read of it cannot be written back</translation>
    </message>
    <message>
        <source>設定のファイルが読めなかったので、次の名前でよけておき、新しいファイルに保存しました。
%1</source>
        <translation>The settings file could not be read, so it was set aside under this name and a new file was saved:
%1</translation>
    </message>
</context>
<context>
    <name>Stages</name>
    <message>
        <source>ストーリー STAGE1</source>
        <translation>Story STAGE1</translation>
    </message>
    <message>
        <source>今日は烈とデートなんだ！</source>
        <translation>Today I&apos;ve got a date with Retsu!</translation>
    </message>
    <message>
        <source>もうすぐ待ち合わせの時間だから、そろそろ出発しようぜ！</source>
        <translation>We meet soon, so I&apos;d better get going!</translation>
    </message>
    <message>
        <source>ゼンタ「待ったか、烈？」</source>
        <translation>Zenta: &quot;Been waiting, Retsu?&quot;</translation>
    </message>
    <message>
        <source>烈「ううん、今来たところだよ！」</source>
        <translation>Retsu: &quot;No, I just got here!&quot;</translation>
    </message>
    <message>
        <source>ゼンタ「じゃあ、行こうか！」</source>
        <translation>Zenta: &quot;Then let&apos;s go!&quot;</translation>
    </message>
    <message>
        <source>烈「うん！」</source>
        <translation>Retsu: &quot;Yeah!&quot;</translation>
    </message>
    <message>
        <source>ストーリー STAGE2</source>
        <translation>Story STAGE2</translation>
    </message>
    <message>
        <source>やべー！寝坊しちまった！！</source>
        <translation>Oh no! I overslept!!</translation>
    </message>
    <message>
        <source>せっかくのデートに何やってんだ俺はー</source>
        <translation>What am I doing, on a date day of all days!</translation>
    </message>
    <message>
        <source>おっと、急がなきゃ</source>
        <translation>Gotta hurry!</translation>
    </message>
    <message>
        <source>ゼンタ「(何とか間に合ったぜ・・・)ま、待ったか、烈？」</source>
        <translation>Zenta: &quot;(Made it, just...) B-been waiting, Retsu?&quot;</translation>
    </message>
    <message>
        <source>烈「ゼンタは、いつも時間をちゃんと守ってくれるね！僕、時間を守る人、好きだよ」</source>
        <translation>Retsu: &quot;You&apos;re always on time, Zenta! I like people who keep time.&quot;</translation>
    </message>
    <message>
        <source>ゼンタ「！！</source>
        <translation>Zenta: &quot;!!</translation>
    </message>
    <message>
        <source>や、やっぱ時間は守んなきゃ駄目だよな、うんっ！」</source>
        <translation>Y-yeah, you&apos;ve gotta be on time, right!&quot;</translation>
    </message>
    <message>
        <source>烈「？</source>
        <translation>Retsu: &quot;?</translation>
    </message>
    <message>
        <source>そろそろ行こう、ゼンタ！」</source>
        <translation>Let&apos;s go, Zenta!&quot;</translation>
    </message>
    <message>
        <source>ゼンタ「お、おう！」</source>
        <translation>Zenta: &quot;S-sure!&quot;</translation>
    </message>
    <message>
        <source>ドライブ</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>準備はばっちりだ</source>
        <translation>All set and ready.</translation>
    </message>
    <message>
        <source>早く出発しようぜ！</source>
        <translation>Let&apos;s get going!</translation>
    </message>
</context>
<context>
    <name>form_Controls</name>
    <message>
        <source>操作方法</source>
        <translation>Controls</translation>
    </message>
    <message>
        <source>とじる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>アクセル</source>
        <translation>Accelerate</translation>
    </message>
    <message>
        <source>下のボタン (A / ✕)</source>
        <translation>South button (A / ✕)</translation>
    </message>
    <message>
        <source>ブレーキ</source>
        <translation>Brake</translation>
    </message>
    <message>
        <source>右のボタン (B / ○)</source>
        <translation>East button (B / ○)</translation>
    </message>
    <message>
        <source>上下左右へ移動</source>
        <translation>Move about the road</translation>
    </message>
    <message>
        <source>十字キー、左スティック</source>
        <translation>D-pad, left stick</translation>
    </message>
    <message>
        <source>次のメッセージ</source>
        <translation>Next message</translation>
    </message>
    <message>
        <source>スタート、下のボタン</source>
        <translation>Start, south button</translation>
    </message>
    <message>
        <source>START を押す</source>
        <translation>Press START</translation>
    </message>
    <message>
        <source>スタート</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>一時停止と再開</source>
        <translation>Pause and resume</translation>
    </message>
    <message>
        <source>タイトル画面のボタンを選ぶ</source>
        <translation>Choose a title-screen button</translation>
    </message>
    <message>
        <source>%1 のあと %2</source>
        <translation>%1, then %2</translation>
    </message>
    <message>
        <source>この操作方法</source>
        <translation>These controls</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>キーボード</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>ゲームパッド</source>
        <translation>Gamepad</translation>
    </message>
    <message>
        <source>一時停止中にタイトル画面へ</source>
        <translation>Back to the title from the pause</translation>
    </message>
    <message>
        <source>バック</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>全画面表示の切り替え</source>
        <translation>Full screen on or off</translation>
    </message>
</context>
<context>
    <name>form_Main</name>
    <message>
        <source>うわー、間に合わなかったー！</source>
        <translation>Aaah, I didn&apos;t make it!</translation>
    </message>
    <message>
        <source>待ち合わせの時間過ぎちまったよぉー</source>
        <translation>I&apos;ve missed our meeting time...</translation>
    </message>
    <message>
        <source>ジェットローラーが壊れちまったー！</source>
        <translation>My jet board is wrecked!</translation>
    </message>
    <message>
        <source>もう走れねーよぉー</source>
        <translation>I can&apos;t skate any more...</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>うわっ！</source>
        <translation>Whoa!</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>タイトル画面へ(&amp;T)</source>
        <translation>To the &amp;title screen</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>サウンド(&amp;S)</source>
        <translation>&amp;Sound</translation>
    </message>
    <message>
        <source>効果音</source>
        <translation>Effects</translation>
    </message>
    <message>
        <source>オン</source>
        <translation>On</translation>
    </message>
    <message>
        <source>オフ</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>操作方法(&amp;C)</source>
        <translation>&amp;Controls</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>矢印キー</source>
        <translation>arrow keys</translation>
    </message>
    <message>
        <source>%1・%2・%3・%4</source>
        <translation>%1/%2/%3/%4</translation>
    </message>
    <message>
        <source>アクセルは「%1」</source>
        <translation>Accelerate: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>ブレーキは「%1」</source>
        <translation>Brake: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>上下左右への移動は「%1」だぜ</source>
        <translation>Move with the &quot;%1&quot;!</translation>
    </message>
    <message>
        <source>キー設定…(&amp;K)</source>
        <translation>&amp;Keys…</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
</context>
<context>
    <name>form_Rank</name>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>ランキング</source>
        <translation>Ranking</translation>
    </message>
    <message>
        <source>とじる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>ストーリー</source>
        <translation>Story</translation>
    </message>
    <message>
        <source>ドライブ</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>ランキングを保存できませんでした。
%1。
%2</source>
        <translation>The ranking could not be saved.
%1.
%2</translation>
    </message>
    <message>
        <source>
この記録は、次に保存するときにいっしょに保存します。</source>
        <translation>
This result will be saved with the next save.</translation>
    </message>
    <message>
        <source>
まだ保存していない記録は、次に保存するときにいっしょに保存します。</source>
        <translation>
The results not yet saved will be saved with the next save.</translation>
    </message>
</context>
<context>
    <name>form_Title</name>
    <message>
        <source>「ストーリー」と「ドライブ」のどっちで遊ぶ？</source>
        <translation>Which will you play: &quot;Story&quot; or &quot;Drive&quot;?</translation>
    </message>
    <message>
        <source>ストーリー</source>
        <translation>Story</translation>
    </message>
    <message>
        <source>ドライブ</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>ランキング</source>
        <translation>Ranking</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>車や障害物を避けながら、制限時間内に走るんだよ！</source>
        <translation>Dodge the cars and obstacles and get there in time!</translation>
    </message>
    <message>
        <source>時間の制限はないけど、走るほど難しくなるよ！</source>
        <translation>No time limit, but the farther you go, the harder it gets!</translation>
    </message>
    <message>
        <source>「ストーリー」はクリア時間の短い順</source>
        <translation>&quot;Story&quot;: shortest clear time first,</translation>
    </message>
    <message>
        <source>「ドライブ」は走行距離の長い順</source>
        <translation>&quot;Drive&quot;: longest distance first;</translation>
    </message>
    <message>
        <source>に上位5名が記録されるんだ</source>
        <translation>the best 5 are kept.</translation>
    </message>
    <message>
        <source>あんまり遊びすぎないようにね</source>
        <translation>Don&apos;t play too long, OK?</translation>
    </message>
    <message>
        <source>僕は烈！このゲームで活躍するゼンタは友達だよ</source>
        <translation>I&apos;m Retsu! Zenta, the star of this game, is my friend.</translation>
    </message>
    <message>
        <source>「Tavolnik」が正式なタイトルみたいだね</source>
        <translation>Looks like &quot;Tavolnik&quot; is the real title.</translation>
    </message>
    <message>
        <source>タルベ君が作ったんだって</source>
        <translation>I hear Talbe made it.</translation>
    </message>
</context>
</TS>
