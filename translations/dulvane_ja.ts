<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en">
<context>
    <name>dulvane</name>
    <message>
        <source>Usage: dulvane [--help | --version]

The office&apos;s telephone-message book. Started without these options it opens its main
window; other arguments are ignored. The windows speak Japanese.

Settings: a DULVANE.INI in the program&apos;s own folder is used when there is one (a portable
installation). Otherwise each user has their own, in the user&apos;s configuration folder
(e.g. ~/.config/dulvane/DULVANE.INI), made empty at the user&apos;s first start; the program
then asks for the user&apos;s name and the data file&apos;s path. Failures are written to the log
in the user&apos;s state folder (e.g. ~/.local/state/dulvane/dulvane.log).

  --help     print this text and exit
  --version  print the release and the SQLite and Qt versions, and exit

The data file is made and looked after with dulvane-admin (see dulvane-admin --help).
</source>
        <translation>使用法: dulvane [--help | --version]

事務所の電話の伝言メモです。これらのオプションを付けずに起動すると、メイン画面
を開きます。ほかの引数は無視します。画面は日本語です。

設定: プログラムと同じフォルダに DULVANE.INI があれば、それを使います（持ち運び
用の置き方）。なければ利用者ごとの設定ファイルを利用者の設定フォルダ
（例: ~/.config/dulvane/DULVANE.INI）に置き、はじめて起動したときに空の状態で
作ります。そのとき、利用者の名前とデータファイルの場所を聞きます。失敗した操作
は、利用者の状態フォルダのログ（例: ~/.local/state/dulvane/dulvane.log）に書き
ます。

  --help     この説明を表示して終了します
  --version  版と SQLite・Qt の版を表示して終了します

データファイルは dulvane-admin で作り、管理します（dulvane-admin --help を参照）。
</translation>
    </message>
</context>
</TS>
