<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en">
<context>
    <name>admin</name>
    <message>
        <source>Usage: dulvane-admin COMMAND [ARGUMENTS]
  or:  dulvane-admin COMMAND --help
  or:  dulvane-admin --version

Makes, checks and looks after the two files of the telephone-message book. The
program itself never creates a data file: make the office&apos;s one with create-data.
An installed program makes each user&apos;s own settings file at the first start; a
portable program folder needs one beside the program (create-settings). Where a
command takes a DATAFILE, a database server&apos;s URI may stand instead (see copy).
dulvane-admin speaks Japanese under a Japanese locale (LANG=ja_JP.UTF-8), English
otherwise.

Commands:
</source>
        <translation>使用法: dulvane-admin COMMAND [ARGUMENTS]
  または: dulvane-admin COMMAND --help
  または: dulvane-admin --version

伝言メモの二つのファイル（データファイルと設定ファイル）を作り、点検し、管理
します。プログラム自身はデータファイルを作りません。事務所のデータファイルは
create-data で作ります。インストールしたプログラムは、各利用者の設定ファイルを
はじめて起動したときに作ります。持ち運び用のプログラムのフォルダには、プログ
ラムの隣に設定ファイルが要ります（create-settings）。DATAFILE を取るコマンド
には、かわりにデータベースサーバーの URI も書けます（copy を参照）。
dulvane-admin は、日本語のロケール（LANG=ja_JP.UTF-8）では日本語で、それ以外
では英語で表示します。

コマンド:
</translation>
    </message>
    <message>
        <source>Exit status: 0 done (check: file sound), 1 the operation failed or was refused (the
reason on stderr; check: problems found, printed one a line), 2 wrong usage.
</source>
        <translation>終了コード: 0 成功（check では問題なし）、1 失敗または取りやめ（理由は標準エラー
出力に。check では問題あり、1 行に一つずつ表示）、2 使い方の誤り。
</translation>
    </message>
    <message>
        <source>Usage:</source>
        <translation>使用法:</translation>
    </message>
    <message>
        <source>Exit status: 0 done, 1 failed or refused, 2 wrong usage.
</source>
        <translation>終了コード: 0 成功、1 失敗または取りやめ、2 使い方の誤り。
</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>コマンドが指定されていません</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation>不明なコマンドです: %1</translation>
    </message>
    <message>
        <source>COPY %1 is a folder: COPY is the new file to make, e.g. dulvane-admin backup %2 %3</source>
        <translation>COPY の %1 はフォルダです。COPY には、作る新しいファイルの名前を書きます（例: dulvane-admin backup %2 %3）</translation>
    </message>
    <message>
        <source>%1 stands where the data file goes, but it is a CSV or text file: the data file comes first, then the CSV file (%2)</source>
        <translation>%1 はデータファイルの位置にありますが、CSV またはテキストのファイルです。先にデータファイル、次に CSV ファイルを書きます（%2）</translation>
    </message>
    <message>
        <source>%1 stands where the CSV file goes, but it is a data file: the data file comes first, then the CSV file (%2)</source>
        <translation>%1 は CSV ファイルの位置にありますが、データファイルです。先にデータファイル、次に CSV ファイルを書きます（%2）</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 には値が要ります</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>不明なオプションです: %1</translation>
    </message>
    <message>
        <source>expected %1 argument(s), got %2</source>
        <translation>引数は %1 個のはずですが、%2 個あります</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>…ほかに %1 件</translation>
    </message>
    <message>
        <source>unclosed quote</source>
        <translation>閉じていない引用符があります</translation>
    </message>
    <message>
        <source>text after a closing quote</source>
        <translation>閉じた引用符のあとに文字があります</translation>
    </message>
    <message>
        <source>quote inside an unquoted value</source>
        <translation>引用符で囲んでいない値の中に引用符があります</translation>
    </message>
    <message>
        <source>not found: no such file or folder, or no such database, at the location given</source>
        <translation>見つかりません（指定の場所にファイル・フォルダ・データベースがありません）</translation>
    </message>
    <message>
        <source>no permission: this user may not use the file, a folder on its path, or the server&apos;s data</source>
        <translation>権限がありません（この利用者は、ファイル、その途中のフォルダ、またはサーバーのデータを使えません）</translation>
    </message>
    <message>
        <source>cannot write: the file, its file system or the server is read-only</source>
        <translation>書き込めません（ファイル、そのファイルシステム、またはサーバーが読み取り専用です）</translation>
    </message>
    <message>
        <source>another workstation&apos;s lock did not clear in time; try again in a moment</source>
        <translation>ほかの端末のロックが時間内に解けませんでした。少し待ってからやり直してください</translation>
    </message>
    <message>
        <source>%1 is a settings file, not a data file</source>
        <translation>設定ファイルです。データファイルではありません: %1</translation>
    </message>
    <message>
        <source>not a data file: another kind of file, or no message table MEMO_T with all its columns</source>
        <translation>データファイルではありません（別の種類のファイルか、伝言のテーブル MEMO_T とそのすべての列がありません）</translation>
    </message>
    <message>
        <source>the database server cannot be reached, or the connection to it was lost</source>
        <translation>データベースサーバーに接続できないか、接続が切れました</translation>
    </message>
    <message>
        <source>the database server did not answer in time</source>
        <translation>データベースサーバーから時間内に応答がありませんでした</translation>
    </message>
    <message>
        <source>a text that the data cannot hold</source>
        <translation>保存できない文字を含む文があります</translation>
    </message>
    <message>
        <source>the operation failed</source>
        <translation>操作に失敗しました</translation>
    </message>
    <message>
        <source>engine code %1: %2</source>
        <translation>エラー番号 %1: %2</translation>
    </message>
    <message>
        <source>%1 exists already; it is never overwritten</source>
        <translation>%1 はすでにあります。上書きはしません</translation>
    </message>
    <message>
        <source>cannot make a file in %1: %2</source>
        <translation>%1 にファイルを作れません: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 に書き込めません: %2</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>%1 を作れません: %2</translation>
    </message>
    <message>
        <source>unknown encoding %1 (utf-8, or shift_jis, cp932, windows-31j)</source>
        <translation>不明な文字コードです: %1（utf-8、または shift_jis・cp932・windows-31j）</translation>
    </message>
    <message>
        <source>the folder %1 does not exist: make it first (for the office&apos;s data file, a shared folder every user may write in)</source>
        <translation>フォルダ %1 がありません。先に作ってください（事務所のデータファイルなら、全利用者が書き込める共有フォルダ）</translation>
    </message>
    <message>
        <source>cannot make the folder %1</source>
        <translation>フォルダ %1 を作れません</translation>
    </message>
    <message>
        <source>made the table MEMO_T on %1</source>
        <translation>%1 にテーブルを作りました（MEMO_T）</translation>
    </message>
    <message>
        <source>made the data file %1</source>
        <translation>データファイル %1 を作りました</translation>
    </message>
    <message>
        <source>made the settings file %1</source>
        <translation>設定ファイル %1 を作りました</translation>
    </message>
    <message>
        <source>%1: %2 problem(s) found:</source>
        <translation>%1: 問題が %2 件見つかりました:</translation>
    </message>
    <message>
        <source>ok: the table MEMO_T on %1 is sound</source>
        <translation>問題ありません: %1 のテーブル MEMO_T は正常です</translation>
    </message>
    <message>
        <source>ok: %1 is a sound settings file (a settings file, not a data file)</source>
        <translation>問題ありません: %1 は正常な設定ファイルです（設定ファイルです。データファイルではありません）</translation>
    </message>
    <message>
        <source>ok: %1 is a sound data file</source>
        <translation>問題ありません: %1 は正常なデータファイルです</translation>
    </message>
    <message>
        <source>nothing to add</source>
        <translation>追加するものはありません</translation>
    </message>
    <message>
        <source>%1 character(s) cannot be written in %2; nothing written (use --encoding utf-8 to keep every character)</source>
        <translation>%2 で書けない文字が %1 個あるため、何も書き出しませんでした（すべての文字をそのまま残すには --encoding utf-8 を使います）</translation>
    </message>
    <message>
        <source>exported %1 messages to %2 (%3)</source>
        <translation>%1 件の伝言を %2 に書き出しました（%3）</translation>
    </message>
    <message>
        <source>line 1: unknown column &quot;%1&quot; (the columns are %2)</source>
        <translation>1 行目: 不明な列「%1」があります（列は %2 です）</translation>
    </message>
    <message>
        <source>line 1: column %1 twice</source>
        <translation>1 行目: 列 %1 が二つあります</translation>
    </message>
    <message>
        <source>line 1: the header lacks column %1</source>
        <translation>1 行目: 見出しに列 %1 がありません</translation>
    </message>
    <message>
        <source>--keep-numbers: the header lacks column ＮＯ</source>
        <translation>--keep-numbers: 見出しに列 ＮＯ がありません</translation>
    </message>
    <message>
        <source>%1 values, the header has %2</source>
        <translation>値が %1 個あります（見出しは %2 個）</translation>
    </message>
    <message>
        <source>no value for %1</source>
        <translation>%1 に値がありません</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not a date and time (such as %3)</source>
        <translation>%1 の「%2」は日時ではありません（%3 のように書きます）</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not a date (such as %3)</source>
        <translation>%1 の「%2」は日付ではありません（%3 のように書きます）</translation>
    </message>
    <message>
        <source>bad ＮＯ &quot;%1&quot; (a whole number from 1 on)</source>
        <translation>ＮＯ「%1」が正しくありません（1 以上の整数を書きます）</translation>
    </message>
    <message>
        <source>no ＮＯ to keep</source>
        <translation>残す ＮＯ がありません</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 を読めません: %2</translation>
    </message>
    <message>
        <source>line %1: not %2 text</source>
        <translation>%1 行目: %2 の文字列ではありません</translation>
    </message>
    <message>
        <source>nothing imported: %1 is not %2 (see --encoding)</source>
        <translation>何も取り込みませんでした: %1 は %2 ではありません（--encoding を参照）</translation>
    </message>
    <message>
        <source>nothing imported: %1 has no sound header line</source>
        <translation>何も取り込みませんでした: %1 に正しい見出しの行がありません</translation>
    </message>
    <message>
        <source>ＮＯ %1 again (line %2 has it)</source>
        <translation>ＮＯ %1 が重複しています（%2 行目にもあります）</translation>
    </message>
    <message>
        <source>ＮＯ %1 is or was in use in the data file (numbers are never reused)</source>
        <translation>ＮＯ %1 はデータファイルで使われているか、以前に使われました（番号は使い回しません）</translation>
    </message>
    <message>
        <source>imported %1 messages into %2</source>
        <translation>%1 件の伝言を %2 に取り込みました</translation>
    </message>
    <message>
        <source>%1 line %2: %3</source>
        <translation>%1 の %2 行目: %3</translation>
    </message>
    <message>
        <source>nothing imported: %1 bad row(s)</source>
        <translation>何も取り込みませんでした: 誤りのある行が %1 行あります</translation>
    </message>
    <message>
        <source>%1 is a database server&apos;s data, which cannot be copied page by page: back it up with the server&apos;s own pg_dump (and restore it with pg_restore), or take a data file of the moment with dulvane-admin copy URI NEW.mdb</source>
        <translation>%1 はデータベースサーバーのデータなので、ページ単位では写せません。サーバー自身の pg_dump で保存し（戻すときは pg_restore）、その時点のデータファイルが要るときは dulvane-admin copy URI NEW.mdb で写してください</translation>
    </message>
    <message>
        <source>copied %1 to %2 (%3 pages)</source>
        <translation>%1 を %2 にコピーしました（%3 ページ）</translation>
    </message>
    <message>
        <source>copied %1 messages from %2 to %3</source>
        <translation>%2 から %3 へ伝言を %1 件写しました</translation>
    </message>
    <message>
        <source>[y/N]</source>
        <translation>[はい/いいえ]</translation>
    </message>
    <message>
        <source>purge needs --before DATE</source>
        <translation>purge には --before DATE が要ります</translation>
    </message>
    <message>
        <source>--before %1 is not a date (2019/2/21, 2019-02-21, or with a time, 2019/2/21 17:54)</source>
        <translation>--before %1 は日付ではありません（2019/2/21、2019-02-21、時刻つきなら 2019/2/21 17:54）</translation>
    </message>
    <message>
        <source>no read message received before %1; nothing removed</source>
        <translation>%1 より前に受け付けた既読の伝言はありません。何も消していません</translation>
    </message>
    <message>
        <source>%1 read message(s) received before %2</source>
        <translation>%2 より前に受け付けた既読の伝言 %1 件</translation>
    </message>
    <message>
        <source>%1 would be removed; give --yes to remove them without a terminal to ask on</source>
        <translation>%1を消すところですが、確認を聞く端末がありません。確認なしで消すには --yes を付けてください</translation>
    </message>
    <message>
        <source>Remove %1 from %2?</source>
        <translation>%2 の %1を消しますか？</translation>
    </message>
    <message>
        <source>nothing removed</source>
        <translation>何も消していません</translation>
    </message>
    <message>
        <source>removed %1 read message(s) received before %2</source>
        <translation>%2 より前に受け付けた既読の伝言を %1 件消しました</translation>
    </message>
    <message>
        <source>(Null)</source>
        <translation>（Null）</translation>
    </message>
    <message>
        <source>messages: %1</source>
        <translation>伝言: %1 件</translation>
    </message>
    <message>
        <source>unread: %1</source>
        <translation>未読: %1 件</translation>
    </message>
    <message>
        <source>unread per addressee (宛名):</source>
        <translation>あて先（宛名）ごとの未読:</translation>
    </message>
    <message>
        <source>oldest unread: ＮＯ %1, %2, %3</source>
        <translation>いちばん古い未読: ＮＯ %1、%2、%3</translation>
    </message>
    <message>
        <source>oldest unread: none</source>
        <translation>いちばん古い未読: なし</translation>
    </message>
    <message>
        <source>%1 needs a number of 0 or more</source>
        <translation>%1 には 0 以上の数が要ります</translation>
    </message>
    <message>
        <source>--all-to needs a name</source>
        <translation>--all-to には名前が要ります</translation>
    </message>
    <message>
        <source>usage: generate PATH COUNT [--seed N] [--unread N] [--all-to NAME]</source>
        <translation>使い方: generate PATH COUNT [--seed N] [--unread N] [--all-to NAME]</translation>
    </message>
    <message>
        <source>--unread is more than COUNT</source>
        <translation>--unread が COUNT より大きいです</translation>
    </message>
    <message>
        <source>made the data file %1 with %2 messages, %3 unread (seed %4) in %5 s</source>
        <translation>データファイル %1 を作りました（伝言 %2 件、未読 %3 件、種 %4、%5 秒）</translation>
    </message>
    <message>
        <source>create-settings PATH [--name NAME] [--folder DATAFILE] [--if-missing]
    Make a settings file (table INI_T with its row ＮＯ = 1), and its folder
    when that is missing. NAME is the user&apos;s name, DATAFILE the full path of
    the shared data file (or the server&apos;s URI); each is left empty (Null)
    when not given, and the program then asks for it at start-up. The file
    must be named DULVANE.INI and lie in the program&apos;s folder (a portable
    installation) or be the user&apos;s own (~/.config/dulvane/DULVANE.INI).
    Refuses to overwrite; with --if-missing an existing file is left alone.
</source>
        <translation>create-settings PATH [--name NAME] [--folder DATAFILE] [--if-missing]
    設定ファイル（テーブル INI_T と、その ＮＯ = 1 の行）を作ります。フォル
    ダがなければフォルダも作ります。NAME は利用者の名前、DATAFILE は共有デー
    タファイルのフルパス（またはサーバーの URI）です。指定しないものは空
    （Null）のままになり、プログラムが起動したときに聞きます。ファイル名は
    DULVANE.INI にして、プログラムのフォルダ（持ち運び用の置き方）か、利用者
    自身の場所（~/.config/dulvane/DULVANE.INI）に置きます。上書きはしませ
    ん。--if-missing を付けると、既存のファイルはそのまま残します。
</translation>
    </message>
    <message>
        <source>generate PATH COUNT [--seed N] [--unread N] [--all-to NAME]
    Make a new data file filled with COUNT made-up messages, to try the
    program or measure it before an office&apos;s real data goes in (benchmarks
    and load runs): staff names in kanji, hundreds of callers, receive times
    spread over years. The same seed (default 1) makes the same file. The
    newest N messages stay unread (default 40, spread over the staff), older
    ones are read. --all-to addresses every message to NAME. Refuses to
    overwrite an existing file. Never for the office&apos;s data file.
</source>
        <translation>generate PATH COUNT [--seed N] [--unread N] [--all-to NAME]
    架空の伝言を COUNT 件入れた新しいデータファイルを作ります。事務所の本当
    のデータを入れる前に、プログラムを試したり速さを測ったりするためのもので
    す（ベンチマークや負荷試験）。職員の名前は漢字、電話の相手は数百人、受付
    日時は何年にもわたります。同じ種（--seed、既定は 1）からは同じファイルが
    できます。新しいほうの N 件は未読のまま（既定は 40 件で、職員に散らばり
    ます）、それより古いものは既読です。--all-to を付けると、すべての伝言の
    あて先を NAME にします。既存のファイルは上書きしません。事務所のデータ
    ファイルには使いません。
</translation>
    </message>
    <message>
        <source>backup DATAFILE COPY
    Make a consistent copy of a data file while workstations go on using it,
    page by page through the database engine&apos;s online backup (waiting while
    another workstation writes), never as a plain file copy. The copy is a
    sound data file the program opens. COPY is the new file&apos;s name (e.g.
    /srv/backup/dulvane-20260410.mdb), not a folder. Refuses to overwrite
    COPY; when the copy fails nothing is left under its name. Not for a
    database server&apos;s data: back that up with the server&apos;s pg_dump (and
    pg_restore), or take a data file of the moment with copy URI NEW.mdb.
</source>
        <translation>backup DATAFILE COPY
    ワークステーションが使っている最中でも、データファイルの一貫したコピーを
    取ります。ファイルをそのまま写すのではなく、データベースエンジンのオンラ
    インバックアップでページごとに写します（ほかの端末が書き込んでいる間は待
    ちます）。コピーは、プログラムでそのまま開ける正常なデータファイルです。
    COPY は作る新しいファイルの名前で（例:
    /srv/backup/dulvane-20260410.mdb）、フォルダではありません。COPY は上書
    きしません。失敗したときは、その名前には何も残りません。データベースサー
    バーのデータには使えません。サーバーの pg_dump（と pg_restore）を使う
    か、copy URI NEW.mdb でその時点のデータファイルを作ります。
</translation>
    </message>
    <message>
        <source>purge DATAFILE --before DATE [--yes]
    Remove the messages that have been read (既読 set) and were received
    (受付日時) before that date (2019/2/21, 2019-02-21, or any form import
    takes, 12/25/02 too); with a time (2019/2/21 17:54) before that minute.
    Unread messages are never removed. Says how many it would remove and asks
    on the terminal: y, yes or はい removes them, anything else nothing.
    --yes removes them without asking (for scripts; without a terminal --yes
    is required). All or none. DATAFILE may be a database server&apos;s URI.
</source>
        <translation>purge DATAFILE --before DATE [--yes]
    既読の（既読が入っている）伝言のうち、その日より前に受け付けた（受付日
    時）ものを消します。日付は 2019/2/21、2019-02-21 など、import が受け付け
    る形ならどれでも書けます（12/25/02 も）。時刻まで書くと（2019/2/21
    17:54）、その分より前のものを消します。未読の伝言は決して消しません。消
    す件数を表示して、端末で確認します。y・yes・はい で消し、それ以外では何
    も消しません。--yes を付けると確認せずに消します（スクリプト向け。端末が
    ないときは --yes が必要です）。すべて消すか、何も消さないかのどちらかで
    す。DATAFILE にはデータベースサーバーの URI も書けます。
</translation>
    </message>
    <message>
        <source>summary DATAFILE
    Count the messages: in total, unread in total, unread per addressee (most
    first), and name the oldest unread message (ＮＯ, 宛名, 受付日時).
    Changes nothing; the figures are read as one picture. DATAFILE may be a
    database server&apos;s URI.
</source>
        <translation>summary DATAFILE
    伝言を数えます。全件数、未読の件数、あて先ごとの未読の件数（多い順）と、
    いちばん古い未読の伝言（ＮＯ、宛名、受付日時）を表示します。何も変更しま
    せん。数はすべて同じ瞬間のデータから数えます。DATAFILE にはデータベース
    サーバーの URI も書けます。
</translation>
    </message>
    <message>
        <source>To replace it all the same, keep a copy of it and run the command again with %1; numbering then goes on after the backup&apos;s own highest number only.</source>
        <translation>そのまま置き換えるときは、今のファイルのコピーを取っておいてから、%1 を付けてもう一度実行してください。受付NO は、バックアップ自身が振った最大の番号の次からになります。</translation>
    </message>
    <message>
        <source>restored %1 over %2 (%3 pages)</source>
        <translation>%1 を %2 に戻しました（%3 ページ）</translation>
    </message>
    <message>
        <source>highest number ever handed out: %1 in the backup, %2 in the replaced data file</source>
        <translation>これまでに振った最大の受付NO: バックアップでは %1、置き換えたデータファイルでは %2</translation>
    </message>
    <message>
        <source>%1 was missing: numbering goes on after the backup&apos;s own highest number (%2); numbers handed out after the backup was taken may be handed out again</source>
        <translation>%1 がなかったため、受付NO はバックアップ自身が振った最大の番号（%2）の次からになります。バックアップを取ったあとに振られた番号が、もう一度使われることがあります</translation>
    </message>
    <message>
        <source>%1 could not be read as a data file and was replaced: numbering goes on after the backup&apos;s own highest number (%2)</source>
        <translation>%1 はデータファイルとして読めなかったため、置き換えました。受付NO はバックアップ自身が振った最大の番号（%2）の次からになります</translation>
    </message>
    <message>
        <source>new file: read-write for its owner and group</source>
        <translation>新しいファイル: 所有者とグループが読み書きできます</translation>
    </message>
    <message>
        <source>warning: could not give %1 the replaced file&apos;s permissions and group; check them (chgrp, chmod)</source>
        <translation>注意: %1 に、置き換えたファイルの権限とグループを付けられませんでした。確かめてください（chgrp、chmod）</translation>
    </message>
    <message>
        <source>the next message gets ＮＯ %1</source>
        <translation>次の伝言の受付NO は %1 です</translation>
    </message>
    <message>
        <source>restore BACKUP DATAFILE [--replace-unreadable]
    Put a backup (see backup) back as the office&apos;s data file, while
    workstations may have it open: they go on with the restored file at
    their next operation. BACKUP is checked first (a sound data file with
    MEMO_T); it is copied page by page into a new file beside DATAFILE
    with DATAFILE&apos;s permissions and group, whose numbering goes on after
    the highest number either file ever handed out, so that a number
    handed out since the backup is never handed out again; then, while no
    workstation writes, the copy replaces DATAFILE in one step. Messages
    received since the backup are lost. A missing DATAFILE is restored all
    the same (numbering then goes on after the backup&apos;s own highest
    number); a DATAFILE that cannot be read as a data file is refused
    unless --replace-unreadable is given. Not for a database server&apos;s
    data: restore a pg_dump with pg_restore, or copy a data file into a
    newly made table.
</source>
        <translation>restore BACKUP DATAFILE [--replace-unreadable]
    バックアップ（backup を参照）を事務所のデータファイルとして戻します。
    ワークステーションが開いたままでもかまいません。各ワークステーション
    は、次の操作から戻したファイルを使います。まず BACKUP を点検し
    （MEMO_T を持つ正常なデータファイルか）、DATAFILE の隣の新しいファイ
    ルへページごとに写します。新しいファイルには DATAFILE の権限とグルー
    プを付け、受付NO は両方のファイルがこれまでに振った最大の番号の次から
    振るようにします。バックアップのあとに振った番号が、二度と使われない
    ようにするためです。最後に、どのワークステーションも書き込んでいない
    間に、一度で DATAFILE と置き換えます。バックアップのあとに受け付けた
    伝言は失われます。DATAFILE がないときもそのまま戻します（受付NO は
    バックアップ自身の最大の番号の次から）。DATAFILE がデータファイルとして
    読めないときは、--replace-unreadable を付けない限り断ります。データ
    ベースサーバーのデータには使えません。pg_dump は pg_restore で戻すか、
    データファイルから新しく作った表へ copy で写します。
</translation>
    </message>
    <message>
        <source>%1: 転送 is yes or no, not &quot;%2&quot;</source>
        <translation>%1: 転送 は yes か no です。「%2」は使えません</translation>
    </message>
    <message>
        <source>%1: the name is empty or has spaces at an end: &quot;%2&quot;</source>
        <translation>%1: 名前が空か、前後に空白があります:「%2」</translation>
    </message>
    <message>
        <source>%1: not a mail address: &quot;%2&quot;</source>
        <translation>%1: メールアドレスではありません:「%2」</translation>
    </message>
    <message>
        <source>%1: 転送 needs a mail address (--mail)</source>
        <translation>%1: 転送 にはメールアドレス（--mail）が要ります</translation>
    </message>
    <message>
        <source>added %1</source>
        <translation>%1 を追加しました</translation>
    </message>
    <message>
        <source>nobody named %1 in the directory</source>
        <translation>名簿に %1 という名前はありません</translation>
    </message>
    <message>
        <source>changed %1</source>
        <translation>%1 を変更しました</translation>
    </message>
    <message>
        <source>removed %1</source>
        <translation>%1 を削除しました</translation>
    </message>
    <message>
        <source>exported %1 staff to %2</source>
        <translation>%1 人の名簿を %2 に書き出しました</translation>
    </message>
    <message>
        <source>line %1: bytes that are not %2; nothing imported</source>
        <translation>%1 行目: %2 ではないバイトがあります。何も取り込みませんでした</translation>
    </message>
    <message>
        <source>line %1: %2; nothing imported</source>
        <translation>%1 行目: %2。何も取り込みませんでした</translation>
    </message>
    <message>
        <source>%1 is empty; nothing imported</source>
        <translation>%1 は空です。何も取り込みませんでした</translation>
    </message>
    <message>
        <source>line %1: %2 values, the header has %3; nothing imported</source>
        <translation>%1 行目: 値が %2 個あります（見出しは %3 個）。何も取り込みませんでした</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>%1 行目</translation>
    </message>
    <message>
        <source>imported %1 staff (%2 new, %3 changed)</source>
        <translation>%1 人の名簿を取り込みました（新規 %2 人、変更 %3 人）</translation>
    </message>
    <message>
        <source>say what to do: list, add, set, remove, import or export</source>
        <translation>何をするかを書きます: list、add、set、remove、import、export</translation>
    </message>
    <message>
        <source>unknown staff command %1</source>
        <translation>不明な staff のコマンドです: %1</translation>
    </message>
    <message>
        <source>staff list DATAFILE
staff add DATAFILE NAME [--reading よみ] [--extension NUMBER] [--section 所属]
          [--mail ADDRESS] [--forward yes|no]
staff set DATAFILE NAME [--name NEW-NAME] [the options of add]
staff remove DATAFILE NAME
staff import DATAFILE IN.csv [--encoding utf-8|shift_jis]
staff export DATAFILE OUT.csv [--encoding utf-8|shift_jis]
    Keep the staff directory (STAFF_T): one person a line, listed by よみ,
    tab-separated (名前, よみ, 内線番号, 所属, メール, 転送). A message belongs
    to the longest directory name its addressee begins with; the pick lists
    show the directory&apos;s names first. A name is never empty, has no spaces
    at either end and is held once; メール is a plain address; --forward yes
    (転送) has the relay (forward) mail the person&apos;s messages and needs
    --mail. set changes only the options given. The CSV file has the columns
    名前 (required), よみ, 内線番号, 所属, メール, 転送 (1 or empty); import
    adds new names and replaces those held (a column the file lacks keeps
    what is held), all or nothing. Data made by an
    earlier release gets the directory with upgrade.
</source>
        <translation>staff list DATAFILE
staff add DATAFILE NAME [--reading よみ] [--extension NUMBER] [--section 所属]
          [--mail ADDRESS] [--forward yes|no]
staff set DATAFILE NAME [--name NEW-NAME] [add のオプション]
staff remove DATAFILE NAME
staff import DATAFILE IN.csv [--encoding utf-8|shift_jis]
staff export DATAFILE OUT.csv [--encoding utf-8|shift_jis]
    職員名簿（STAFF_T）を管理します。list は 1 行に一人ずつ、よみの順に、
    タブ区切りで表示します（名前、よみ、内線番号、所属、メール、転送）。
    伝言は、宛名の先頭に一致する名簿の名前のうち、いちばん長い名前の人の
    ものになります。候補の一覧には名簿の名前が先に出ます。名前は空にできず、
    前後に空白を置けず、重複できません。メール はふつうのアドレスです。
    --forward yes（転送）で、その人の伝言を中継（forward）がメールで送り
    ます。--mail が要ります。set は指定したオプションだけを変えます。CSV
    ファイルの列は 名前（必須）、よみ、内線番号、所属、メール、転送（1 か
    空）です。import は新しい名前を追加し、既にある名前は置き換えます（ファ
    イルにない列は今の値のまま）。すべて取り込むか、何も取り込まないかの
    どちらかです。以前のリリースで作ったデータには upgrade で名簿を作ります。
</translation>
    </message>
    <message>
        <source>--config FILE is required</source>
        <translation>--config FILE が要ります</translation>
    </message>
    <message>
        <source>the data is reachable again</source>
        <translation>データにふたたび接続できました</translation>
    </message>
    <message>
        <source>the data cannot be reached (%1); retrying</source>
        <translation>データに接続できません（%1）。やり直します</translation>
    </message>
    <message>
        <source>forward --config FILE [--once] [--dry-run]
    The mail relay: every interval seconds, mail each new message to its
    addressee&apos;s staff member (the longest directory name the addressee
    begins with) when the directory has 転送 on and a mail address for them.
    The data keeps the relay&apos;s place (FORWARD_T) and each mail&apos;s acceptance
    (MEMO_T.転送日時): the messages there at the first start are never sent,
    each message is mailed once. A mail server out of reach is tried again
    with growing waits; a refused recipient 3 times, then logged as FAILED and
    skipped. The log goes to stderr. --once looks once and exits (0 done, 1
    the data or the mail server out of reach), for cron and tests; --dry-run
    tells what would be sent and changes nothing. See the administrator&apos;s
    guide for the configuration file and the systemd unit.
</source>
        <translation>forward --config FILE [--once] [--dry-run]
    メールの中継です。interval 秒ごとに、新しい伝言を宛名の職員（宛名の
    先頭に一致する名簿の名前のうち、いちばん長い名前の人）にメールで送り
    ます。名簿でその人の 転送 がオンで、メールアドレスがあるときだけです。
    中継の位置（FORWARD_T）と各メールの受付（MEMO_T.転送日時）はデータに
    残します。はじめての起動のときにあった伝言は送らず、各伝言は一度だけ
    送ります。メールサーバーに接続できないときは、待ち時間を延ばしながら
    やり直します。受取人を断られたメールは 3 回まで送り、そのあと FAILED
    としてログに残して飛ばします。ログは標準エラー出力に出ます。--once は
    一度だけ見て終わります（0 完了、1 データかメールサーバーに接続できな
    い）。cron やテストに使います。--dry-run は送るはずのものを表示し、何
    も変えません。設定ファイルと systemd のユニットについては管理者ガイド
    を参照してください。
</translation>
    </message>
    <message>
        <source>added what was missing (indexes, the columns 至急 and 対応日時, the table of phrases PHRASE_T)</source>
        <translation>足りないもの（索引、列 至急・対応日時、定型文の表 PHRASE_T）を追加しました</translation>
    </message>
    <message>
        <source>create-data DATAFILE [--if-missing]
    Make an empty shared data file (table MEMO_T, every column text but the
    whole number 至急, ＮＯ numbered automatically and never reused; table
    PHRASE_T with the five ready phrases), in a folder that exists (make
    the shared folder first). Refuses to overwrite an existing file. With
    --if-missing an existing data file is left alone, silently; anything else
    under that name is refused (exit 1). DATAFILE may be a database server&apos;s
    URI (postgresql://HOST/DB?sslmode=verify-full, a password in ~/.pgpass):
    the table is then made on the server.
</source>
        <translation>create-data DATAFILE [--if-missing]
    空の共有データファイルを作ります（テーブル MEMO_T。列は整数の 至急 のほか
    はすべて文字列で、ＮＯは自動で振られ、使い回しません。定型文の表 PHRASE_T
    には五つの定型文を入れます）。作る場所のフォルダは先に用意しておきます
    （先に共有フォルダを作る）。既存のファイルは上書きしません。
    --if-missing を付けると、既存のデータファイルは何も表示せずにそのまま残
    し、データファイルでないものがあれば取りやめます（終了コード 1）。
    DATAFILE にはデータベースサーバーの URI も書けます
    （postgresql://HOST/DB?sslmode=verify-full。パスワードは ~/.pgpass に）。
    そのときはサーバーにテーブルを作ります。
</translation>
    </message>
    <message>
        <source>check PATH
    Check an existing data or settings file: is it a database, does it hold
    its table and every column, does the integrity check pass; say which of
    the two it is. The columns 至急 and 対応日時 and the table PHRASE_T may
    be missing (an older file: see upgrade), but when there they must be of
    their types. Changes nothing. Exit status 1 when problems were found
    (printed one a line). PATH may be a database server&apos;s URI: its table
    MEMO_T is checked.
</source>
        <translation>check PATH
    既存のデータファイルまたは設定ファイルを点検します。データベースか、テー
    ブルとすべての列があるか、整合性の検査に通るかを調べ、どちらのファイルか
    を表示します。列 至急・対応日時 と表 PHRASE_T はなくてもかまいません（古
    いファイル。upgrade を参照）が、あるときはそれぞれの型でなければなりませ
    ん。何も変更しません。問題があれば 1 行に一つずつ表示し、終了コード 1 で
    終わります。PATH にはデータベースサーバーの URI も書けます（テーブル
    MEMO_T を点検します）。
</translation>
    </message>
    <message>
        <source>upgrade DATAFILE
    Add to a data file what this release expects and an older file lacks: the
    indexes that keep the new-message check and the name lists fast, the
    columns 至急 (urgent) and 対応日時 (handled at) of MEMO_T, and the table
    of ready phrases PHRASE_T, made with the five phrases the program offers
    without it. Changes no message; older programs go on working with the
    file. DATAFILE may be a database server&apos;s URI.
</source>
        <translation>upgrade DATAFILE
    この版が使うもので、古いデータファイルにないものを追加します。新着の確認
    と名前の一覧を速くする索引、MEMO_T の列 至急（急ぎ）と 対応日時（対応し
    た日時）、定型文の表 PHRASE_T（表がないときにプログラムが出す五つの定型文
    を入れて作ります）です。伝言は変わりません。古いプログラムもそのままこの
    ファイルを使えます。DATAFILE にはデータベースサーバーの URI も書けます。
</translation>
    </message>
    <message>
        <source>export DATAFILE OUT.csv [--encoding utf-8|shift_jis]
    Write every message, ordered by ＮＯ, to a new CSV file: a header line
    with the column names (ＮＯ, 宛名, 相手, 受人, メモ, 内外線, 電話,
    受付日時, 既読, 至急, 対応日時; the last two are empty for data not yet
    upgraded), every value in double quotes (a quote inside doubled),
    an empty unquoted value for a Null, CRLF line ends. UTF-8 with a
    byte-order mark by default; shift_jis (or cp932, windows-31j) for older
    spreadsheet programs: Windows&apos; Shift_JIS, code page 932, circled numbers
    and ㈱ included. 〜 − ‖ ¢ £ ¬ — ¦ are written as Windows&apos; ～ － ∥ ￠ ￡
    ￢ ― ￤ (an import reads those); other characters it cannot hold are
    listed (message, column, character) and nothing is written. Never
    overwrites OUT.csv. The data file comes first, the CSV file second.
    DATAFILE may be a database server&apos;s URI: the same messages give the same
    file.
</source>
        <translation>export DATAFILE OUT.csv [--encoding utf-8|shift_jis]
    すべての伝言を ＮＯ の順に新しい CSV ファイルに書き出します。1 行目は列
    名（ＮＯ、宛名、相手、受人、メモ、内外線、電話、受付日時、既読、至急、対
    応日時。最後の二つは upgrade 前のデータでは空です）、値はすべて二重引用
    符で囲み（中の引用符は二つ重ねる）、Null は引用符のない空の値、行末は
    CRLF です。既定は UTF-8（バイトオーダーマーク付き）です。古い表計算ソフ
    ト向けの shift_jis（cp932・windows-31j も同じ）は Windows の Shift_JIS
    （コードページ 932）で、丸数字や ㈱ も書けます。〜 − ‖ ¢ £ ¬ — ¦ は
    Windows の ～ － ∥ ￠ ￡ ￢ ― ￤ として書きます（import はこれらを読みま
    す）。それ以外に書けない文字があれば、伝言・列・文字を一覧にして何も書き
    出しません。OUT.csv は上書きしません。先にデータファイル、次に CSV ファ
    イルを書きます。DATAFILE にはデータベースサーバーの URI も書けます（同じ
    伝言なら同じファイルになります）。
</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not 1 (urgent) or empty</source>
        <translation>%1 の「%2」は 1（至急）でも空でもありません</translation>
    </message>
    <message>
        <source>import DATAFILE IN.csv [--encoding utf-8|shift_jis] [--keep-numbers]
    Add the messages of a CSV file to an existing data file: a file written
    by export, by a spreadsheet program (with or without a byte-order mark)
    or by mdb-export from the old system (mdb-export old.mdb MEMO_T). The
    first line names the columns, in any order; 宛名, 相手, 受人, メモ are
    required, ＮＯ, 内外線, 電話, 受付日時, 既読, 至急 (1 or empty),
    対応日時 optional; a value for 至急 or 対応日時 needs data that has
    the column (see upgrade).
    UTF-8 by default; shift_jis (or cp932, windows-31j) reads Windows&apos;
    Shift_JIS, giving the characters Windows shows (～ for the bytes of 〜
    too).
    An empty unquoted value is a Null; texts are kept exactly, but for the
    dates: 受付日時 is stored as 2019/02/21 17:54 and 既読 as 2019/02/21,
    whether the file writes 2019/2/21 17:54, 2019/02/21 17:54:00, 2019-02-21
    17:54, 2019-02-21T17:54:00 (with a zone, Z or +09:00: converted to this
    computer&apos;s time zone) or, month first, 12/25/02 12:25:00. Seconds are
    dropped; a date alone is at 00:00. Any other value there is a bad row.
    Every bad row is listed with its line number, and then nothing is
    imported: all rows or none.
    Each message gets a new number, in file order, unless --keep-numbers is
    given: then each keeps its ＮＯ, which must be unique in the CSV and
    never handed out by the data file (a number of a message deleted since is
    refused too). New messages are numbered after the highest number
    afterwards. The data file comes first, the CSV file second. DATAFILE may
    be a database server&apos;s URI; the same rules hold there.
</source>
        <translation>import DATAFILE IN.csv [--encoding utf-8|shift_jis] [--keep-numbers]
    CSV ファイルの伝言を、既存のデータファイルに追加します。export で書き出
    したファイル、表計算ソフトが書いたファイル（バイトオーダーマークの有無は
    問いません）、旧システムから mdb-export で書き出したファイル（mdb-export
    old.mdb MEMO_T）を読めます。1 行目に列名を書きます（順序は自由）。宛名・
    相手・受人・メモ は必須、ＮＯ・内外線・電話・受付日時・既読・至急（1 か
    空）・対応日時 は省略できます。至急・対応日時 に値があるときは、データに
    その列が要ります（upgrade を参照）。
    既定は UTF-8 です。shift_jis（cp932・windows-31j も同じ）は Windows の
    Shift_JIS を読み、Windows で見えるとおりの文字にします（〜 のバイトも ～
    に）。
    引用符のない空の値は Null です。文字はそのまま残しますが、日付は別です。
    受付日時は 2019/02/21 17:54、既読は 2019/02/21 の形で保存します。ファイ
    ルでの書き方は 2019/2/21 17:54、2019/02/21 17:54:00、2019-02-21 17:54、
    2019-02-21T17:54:00（時差つきの Z や +09:00 は、このコンピューターの時刻
    帯に直します）、月が先の 12/25/02 12:25:00 のどれでもかまいません。秒は
    切り捨て、日付だけなら 00:00 です。それ以外の値は誤りのある行になりま
    す。誤りのある行はすべて行番号つきで表示し、そのときは何も取り込みません
    （すべて取り込むか、何も取り込まないかのどちらかです）。
    伝言には、ファイルの順に新しい番号が振られます。--keep-numbers を付ける
    と、それぞれの ＮＯ をそのまま残します。その番号は CSV の中で重複せず、
    データファイルが一度も振ったことのないもの（削除済みの伝言の番号も不可）
    でなければなりません。取り込んだあとに受け付ける伝言には、いちばん大きい
    番号の次から振られます。先にデータファイル、次に CSV ファイルを書きま
    す。DATAFILE にはデータベースサーバーの URI も書けます（きまりは同じで
    す）。
</translation>
    </message>
    <message>
        <source>copy SOURCE DESTINATION
    Copy every message from one office&apos;s data to another: each of SOURCE and
    DESTINATION is a data file or a database server&apos;s URI
    (postgresql://HOST/DB, with the password in ~/.pgpass or a service file,
    not in the URI), so the office moves from a shared file to a server and
    back. Every message keeps its ＮＯ and every text exactly (Nulls stay
    Null, empty texts stay empty); new messages in DESTINATION are numbered
    after the highest number copied. The marks 至急 and 対応日時 go too:
    when SOURCE has any and DESTINATION lacks their columns, nothing is
    done (see upgrade).
    DESTINATION must exist (see create-data), hold no message and never have
    numbered one (a data file or server whose messages were deleted is
    refused: its old numbers could come back), else nothing is done.
    SOURCE is read as one consistent picture; DESTINATION gets all messages
    or, on any failure, none. A URI&apos;s password is never shown.
</source>
        <translation>copy SOURCE DESTINATION
    事務所のデータから別の場所へ、すべての伝言を写します。SOURCE と
    DESTINATION は、それぞれデータファイルかデータベースサーバーの URI
    （postgresql://HOST/DB。パスワードは URI に書かず、~/.pgpass かサービス
    ファイルに）なので、共有ファイルからサーバーへ移ったり、ファイルに戻した
    りできます。どの伝言も ＮＯ とすべての文字がそのまま写ります（Null は
    Null、空の文字は空のまま）。DESTINATION で新しく受け付ける伝言には、写し
    た番号のうちいちばん大きいものの次から振られます。印 至急・対応日時 も写
    します。SOURCE に印があって DESTINATION にその列がないときは、何もしませ
    ん（upgrade を参照）。
    DESTINATION は作ってあり（create-data を参照）、伝言がなく、以前に番号を
    振ったこともないものでなければなりません（伝言を消したデータファイルや
    サーバーは、古い番号がまた使われるおそれがあるので断ります）。そうでなけ
    れば何もしません。
    SOURCE は一つの瞬間のデータとして読みます。DESTINATION にはすべての伝言
    を写すか、失敗したときは何も写しません。URI のパスワードは表示しません。
</translation>
    </message>
    <message>
        <source>unknown action &quot;%1&quot; (list, add, remove or move)</source>
        <translation>「%1」という操作はありません（list、add、remove、move のどれか）</translation>
    </message>
    <message>
        <source>no phrase at &quot;%1&quot; (the places are 1 to %2; see list)</source>
        <translation>「%1」番目の定型文はありません（1 から %2 まで。list を参照）</translation>
    </message>
    <message>
        <source>no phrases (the menu beside the memo text is empty)</source>
        <translation>定型文はありません（メモ欄の横のメニューは空です）</translation>
    </message>
    <message>
        <source>give the data file and an action</source>
        <translation>データファイルと操作を指定してください</translation>
    </message>
    <message>
        <source>%1 has no table of phrases PHRASE_T yet (the program offers its own five): run dulvane-admin upgrade %1 first</source>
        <translation>%1 には定型文の表 PHRASE_T がまだありません（プログラムは決まった五つを出します）。先に dulvane-admin upgrade %1 を実行してください</translation>
    </message>
    <message>
        <source>the phrase is empty</source>
        <translation>定型文が空です</translation>
    </message>
    <message>
        <source>the phrase has %1 characters; the memo text holds %2 at most</source>
        <translation>定型文が %1 文字あります。メモ欄には %2 文字までしか入りません</translation>
    </message>
    <message>
        <source>removed: %1</source>
        <translation>削除しました: %1</translation>
    </message>
    <message>
        <source>phrases DATAFILE list | add TEXT | remove N | move N TO
    Keep the office&apos;s ready phrases, which the button 定型文 beside the memo
    text offers on every workstation (table PHRASE_T; see upgrade). list
    prints them with their places, 1 first as in the menu; add puts TEXT
    last (at most 100 characters, what the memo text holds); remove takes
    the phrase at place N away; move puts the phrase at place N at place TO.
    Each action prints the list it leaves. Data without the table offers
    折り返しお電話ください。 また電話します。 お電話がありました。
    伝言があります。 ご来訪がありました。 DATAFILE may be a database
    server&apos;s URI.
</source>
        <translation>phrases DATAFILE list | add TEXT | remove N | move N TO
    事務所の定型文を管理します。どの端末でも、メモ欄の横の「定型文」ボタンが
    これを出します（表 PHRASE_T。upgrade を参照）。list は定型文を番号つき
    で、メニューと同じく 1 番から表示します。add は TEXT を最後に加えます
    （メモ欄に入る 100 文字まで）。remove は N 番の定型文を取り除きます。
    move は N 番の定型文を TO 番に移します。どの操作も、そのあとの一覧を表示
    します。表のないデータでは、折り返しお電話ください。 また電話します。
    お電話がありました。 伝言があります。 ご来訪がありました。 を出します。
    DATAFILE にはデータベースサーバーの URI も書けます。
</translation>
    </message>
</context>
<context>
    <name>forward</name>
    <message>
        <source>a password, in a file that others may read: mail passwords are never written here. Change that password, then put the new one in a file that only the relay&apos;s user may read (chmod 600) and name that file with password-file</source>
        <translation>パスワードが、他の人も読めるファイルに書かれています。メールのパスワードはここには書きません。そのパスワードを変え、新しいパスワードを中継の利用者だけが読めるファイル（chmod 600）に入れて、そのファイルを password-file で指定してください</translation>
    </message>
    <message>
        <source>mail passwords are not written in the configuration file: put it in a file that only the relay&apos;s user may read (chmod 600) and name that file with password-file</source>
        <translation>メールのパスワードは設定ファイルには書きません。中継の利用者だけが読めるファイル（chmod 600）に入れて、そのファイルを password-file で指定してください</translation>
    </message>
    <message>
        <source>cannot read the configuration file %1: %2</source>
        <translation>設定ファイル %1 を読めません: %2</translation>
    </message>
    <message>
        <source>not UTF-8 text</source>
        <translation>UTF-8 のテキストではありません</translation>
    </message>
    <message>
        <source>unknown section [%1]: the file has only [forward]</source>
        <translation>知らないセクション [%1] です。このファイルのセクションは [forward] だけです</translation>
    </message>
    <message>
        <source>not KEY = VALUE</source>
        <translation>「キー = 値」の形ではありません</translation>
    </message>
    <message>
        <source>a key before the section [forward]</source>
        <translation>セクション [forward] より前にキーがあります</translation>
    </message>
    <message>
        <source>unknown key &quot;%1&quot; (the keys are %2)</source>
        <translation>知らないキー「%1」です（キーは %2）</translation>
    </message>
    <message>
        <source>&quot;%1&quot; given a second time (first on line %2)</source>
        <translation>「%1」が二度書かれています（最初は %2 行目）</translation>
    </message>
    <message>
        <source>no section [forward]</source>
        <translation>セクション [forward] がありません</translation>
    </message>
    <message>
        <source>smtp is to be smtp://HOST:PORT or smtps://HOST:PORT (a user name goes in user), not &quot;%1&quot;</source>
        <translation>smtp は smtp://ホスト:ポート か smtps://ホスト:ポート で書きます（ユーザー名は user に書きます）。「%1」は使えません</translation>
    </message>
    <message>
        <source>no port in &quot;%1&quot;</source>
        <translation>「%1」にポートがありません</translation>
    </message>
    <message>
        <source>the password file %1 is not there</source>
        <translation>パスワードファイル %1 がありません</translation>
    </message>
    <message>
        <source>others may read the password file %1: make it readable by the relay&apos;s user only (chmod 600 %1)</source>
        <translation>パスワードファイル %1 を他の人も読めます。中継の利用者だけが読めるようにしてください（chmod 600 %1）</translation>
    </message>
    <message>
        <source>the password file %1 belongs to another user: it is to belong to the user the relay runs as</source>
        <translation>パスワードファイル %1 の所有者が別の利用者です。中継を動かす利用者の所有にしてください</translation>
    </message>
    <message>
        <source>cannot read the password file %1: %2</source>
        <translation>パスワードファイル %1 を読めません: %2</translation>
    </message>
    <message>
        <source>the password file %1 holds no password</source>
        <translation>パスワードファイル %1 にパスワードがありません</translation>
    </message>
    <message>
        <source>no %1 in [forward]</source>
        <translation>[forward] に %1 がありません</translation>
    </message>
    <message>
        <source>the data server&apos;s password, in a file that others may read: make the file readable by the relay&apos;s user only (chmod 600 %1)</source>
        <translation>データベースサーバーのパスワードが、他の人も読めるファイルに書かれています。このファイルを中継の利用者だけが読めるようにしてください（chmod 600 %1）</translation>
    </message>
    <message>
        <source>from is to be a mail address (dulvane@example.jp, or Name &lt;dulvane@example.jp&gt;), not &quot;%1&quot;</source>
        <translation>from はメールアドレスで書きます（dulvane@example.jp、または 名前 &lt;dulvane@example.jp&gt;）。「%1」は使えません</translation>
    </message>
    <message>
        <source>starttls is to be required or off, not &quot;%1&quot;</source>
        <translation>starttls は required か off です。「%1」は使えません</translation>
    </message>
    <message>
        <source>starttls = off does not go with smtps://, which is TLS from the start</source>
        <translation>starttls = off は、はじめから TLS で話す smtps:// とは一緒に使えません</translation>
    </message>
    <message>
        <source>starttls = off sends the mail in clear: only for a mail server on this machine (localhost, 127.0.0.1, ::1), not %1</source>
        <translation>starttls = off ではメールが暗号化されずに送られます。このマシンのメールサーバー（localhost、127.0.0.1、::1）にだけ使えます。%1 には使えません</translation>
    </message>
    <message>
        <source>interval is to be whole seconds from 1 to %1, not &quot;%2&quot;</source>
        <translation>interval は 1 から %1 までの秒数（整数）です。「%2」は使えません</translation>
    </message>
    <message>
        <source>user and password-file go together: give both or neither</source>
        <translation>user と password-file は両方書くか、どちらも書かないかです</translation>
    </message>
    <message>
        <source>cannot read the CA file %1</source>
        <translation>CA ファイル %1 を読めません</translation>
    </message>
    <message>
        <source>the mail server %1 refuses for now: %2</source>
        <translation>メールサーバー %1 が今は受け付けません: %2</translation>
    </message>
    <message>
        <source>the mail server %1 refused this mail: %2</source>
        <translation>メールサーバー %1 がこのメールを断りました: %2</translation>
    </message>
    <message>
        <source>the mail server %1 refused the user name or password: %2</source>
        <translation>メールサーバー %1 がユーザー名かパスワードを認めませんでした: %2</translation>
    </message>
    <message>
        <source>the mail server %1 refused the sender %2: %3</source>
        <translation>メールサーバー %1 が差出人 %2 を断りました: %3</translation>
    </message>
    <message>
        <source>the mail server %1 offers no STARTTLS, and mail is never sent in clear (starttls = required): nothing was sent</source>
        <translation>メールサーバー %1 が STARTTLS に応じません。メールは暗号化せずには送りません（starttls = required）。何も送っていません</translation>
    </message>
    <message>
        <source>no mail can go to %1 as configured: %2</source>
        <translation>今の設定では %1 にメールを送れません: %2</translation>
    </message>
    <message>
        <source>no secure connection to the mail server %1 (a private mail server&apos;s certificate needs ca-file): %2</source>
        <translation>メールサーバー %1 と安全に接続できません（事務所独自のメールサーバーの証明書には ca-file が要ります）: %2</translation>
    </message>
    <message>
        <source>the mail server %1 could not be reached: %2</source>
        <translation>メールサーバー %1 に接続できません: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a mail address</source>
        <translation>「%1」はメールアドレスではありません</translation>
    </message>
    <message>
        <source>libcurl could not start a transfer</source>
        <translation>libcurl が送信を始められませんでした</translation>
    </message>
    <message>
        <source>first start: messages after ＮＯ %1 will be forwarded</source>
        <translation>はじめての起動: ＮＯ %1 より後の伝言を転送します</translation>
    </message>
    <message>
        <source>would send ＮＯ %1 to %2 &lt;%3&gt;</source>
        <translation>ＮＯ %1 を %2 &lt;%3&gt; に送るところです</translation>
    </message>
    <message>
        <source>the mail server takes mail again</source>
        <translation>メールサーバーがふたたびメールを受け付けます</translation>
    </message>
    <message>
        <source>sent ＮＯ %1 to %2</source>
        <translation>ＮＯ %1 を %2 に送りました</translation>
    </message>
    <message>
        <source>the mail server takes no mail (%1); retrying, nothing is lost</source>
        <translation>メールサーバーがメールを受け付けません（%1）。やり直します。何も失われません</translation>
    </message>
    <message>
        <source>the mail server refuses the relay (%1); mend the configuration</source>
        <translation>メールサーバーが中継を断りました（%1）。設定を直してください</translation>
    </message>
    <message>
        <source>FAILED: ＮＯ %1 to %2 refused %3 times (%4); skipped</source>
        <translation>失敗: ＮＯ %1 の %2 あてのメールが %3 回断られました（%4）。飛ばします</translation>
    </message>
    <message>
        <source>ＮＯ %1 to %2 refused (%3); trying again</source>
        <translation>ＮＯ %1 の %2 あてのメールが断られました（%3）。もう一度送ります</translation>
    </message>
</context>
</TS>
