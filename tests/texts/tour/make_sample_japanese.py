#!/usr/bin/env python3
"""A hand-made Japanese language file and tray file for the screenshot tour: enough
real Japanese on every window to show glyph coverage and layout, faces of the other
system ("MS UI Gothic", "Meiryo") to show their mapping. Not a shipped translation.

    make_sample_japanese.py ENGLISH_TXT OUT_DIR   -> OUT_DIR/Japanese.txt, OUT_DIR/monitor/Japanese.txt
"""
import os
import sys

ui = {
    0: "Quelta PALLIX Ostrel ゲーミングマウス", 1: "Quelta PALLIX Ostrel ゲーミングマウス",
    3: "閉じる", 4: "システムトレイを有効にする", 5: "このプロファイルを既定値に戻します。",
    6: "Vandras PALLIX Ostrel の登録サイトを開きます。", 7: "ヘルプを開きます。",
    8: "設定をマウスに保存します。", 9: "変更をすべて取り消して終了します", 10: "設定をマウスに保存して終了します",
    11: "マクロエディター", 12: "詳細なマウス設定", 13: "LED の設定",
    19: "OK", 20: "キャンセル", 21: "適用", 22: "既定値に戻す", 23: "OK/終了", 24: "1 画面ずつ",
    25: "遅延時間を調整", 26: "ファイルから読み込み", 27: "新しいマクロを作成", 28: "記録", 29: "停止",
    30: "削除", 31: "1 回", 32: "押している間繰り返す", 33: "次のキーが押されるまで繰り返す",
    34: "複数回ループ", 35: "命令行を上へ移動", 36: "命令行を下へ移動", 37: "はい", 38: "いいえ",
    39: "マクロ機能", 40: "単一キー機能", 41: "既定のボタン機能", 42: "アプリケーション起動機能",
    43: "LED を常に点灯", 44: "LED を常に消灯", 45: "赤", 46: "紫", 47: "青", 48: "シアン", 49: "白",
    50: "黄", 51: "緑", 52: "マクロファイルを 1 つ削除", 53: "遅延なし", 54: "既定の遅延を挿入",
    55: "遅延時間を設定", 56: "マクロコマンドを挿入", 57: "ファイルに保存",
}
for i in range(5):
    ui[14 + i] = f"プロファイル {i + 1} のページに切り替えます。"
messages = [
    "インスタンスが多すぎます!", "ゲーミングマウスが接続されていません!", "エラー: ファイルのパスが見つかりません: ",
    "エラー: 101、ファイル形式が正しくありません", "エラー: EEPROM 全体を読み込めませんでした!",
    "エラー: マウスの設定を読み込めませんでした!", "エラー: マウスの設定を保存できませんでした!",
    "エラー: スクリプトを読み込めませんでした!", "エラー: スクリプトを保存できませんでした!",
    "エラー: 201、書き込みに失敗しました", "左ボタンには左クリックが必要です!", "選択したマクロが正しくありません!",
    "バッファーがいっぱいです!", "接続できません: ", "項目が選択されていません!", "ドキュメントが見つかりません: ",
    "記録機能のエラーです!", "マクロの定義を消去しますか?", "上書きしますか?", "マクロは既に存在します!",
]
functions = ["マクロキー", "クリック", "ボタン無効", "右ボタン", "ダブルクリック", "戻る", "進む",
             "スクロールボタン", "感度アップ", "感度ダウン", "起動"]
commands = ["Page Up", "Page Down", "コピー", "貼り付け", "ウィンドウを閉じる", "デスクトップの表示", "元に戻す",
            "エクスプローラーを開く", "削除", "切り取り", "Print Screen", "PC のロック", "拡大", "縮小", "すべて選択",
            "検索", "印刷", "保存", "新規作成", "IE/メディアプレーヤーを最大化", "コマンド"]
leds = ["通常の LED 制御モードに切り替えます", "バトル LED モードに切り替えます"]
tray = ["PALLIX Ostrel ゲーミングマウス アプリを起動", "Vandra の Web サイトを開く", "OSD を有効にする", "終了",
        "OSD を無効にする"]


def write_utf16(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(("\ufeff" + "".join(line + "\r\n" for line in lines)).encode("utf-16-le"))


def main():
    english = open(sys.argv[1], "rb").read().decode("utf-16-le").lstrip("\ufeff").split("\r\n")
    out = sys.argv[2]
    lines = english[:-1] if english[-1] == "" else english
    faces = ["MS UI Gothic", "Meiryo", "Meiryo", "Meiryo", "MS UI Gothic", "MS UI Gothic", "MS UI Gothic"]
    for i, face in enumerate(faces):
        lines[4 * i] = face
    base = 29
    for i, text in ui.items():
        lines[base + i] = text
    base += 58
    lines[base:base + 20] = messages
    base += 21  # the line after the messages is read and not used
    lines[base] = "Quelta PALLIX Ostrel メッセージ"
    lines[base + 1:base + 3] = ["秒", "ミリ秒"]
    base += 3
    lines[base:base + 11] = functions
    lines[base + 11:base + 32] = commands
    lines[base + 32:base + 34] = leds
    lines[base + 34] = "Japanese.txt"
    write_utf16(os.path.join(out, "Japanese.txt"), lines)
    write_utf16(os.path.join(out, "monitor", "Japanese.txt"), tray + ["Japanese.txt"])


main()
