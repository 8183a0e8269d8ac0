#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes data/Camera_Setting_UNICODE_msg.ini (UTF-16LE with a byte-order mark).

Every language has its own range of message keys: key = MsgId + base, written as four or
more upper-case hexadecimal digits. Box texts may use \\n for a line break and the
placeholders %s or %d where the tool passes an argument. Run this script again after
editing (python3 data/source/make_message_file.py).
"""
import os

# (display name, LANGID as matched against the system's, base)
LANGUAGES = [
    ("English", "FF09", 0x0000),
    ("Deutsch", "FF07", 0x1000),
    ("中文(繁體)", "0404", 0x2000),
    ("中文(简体)", "0804", 0x3000),
    ("日本語", "FF11", 0x4000),
]

# MsgId -> texts in the order of LANGUAGES.
TEXTS = {
    256: ["Camera Auto Connect", "Kamera automatisch verbinden", "自動連線相機", "自动连接相机", "カメラに自動接続"],
    257: ["Connect", "Verbinden", "連線", "连接", "接続"],
    258: ["Disconnect", "Trennen", "中斷連線", "断开连接", "切断"],
    259: ["Load Camera Settings", "Einstellungen laden", "讀取相機設定", "读取相机设置", "カメラ設定を読み込む"],
    260: ["Reset Settings", "Werkseinstellungen", "重設設定", "重置设置", "設定をリセット"],
    261: ["Date/Time", "Datum/Uhrzeit", "日期/時間", "日期/时间", "日付/時刻"],
    262: ["Settings", "Einstellungen", "設定", "设置", "設定"],
    263: ["Camera Clock", "Kamerauhr", "相機時鐘", "相机时钟", "カメラの時計"],
    264: ["Camera time:", "Kamerazeit:", "相機時間:", "相机时间:", "カメラ時刻:"],
    265: ["PC time:", "PC-Zeit:", "電腦時間:", "电脑时间:", "PC の時刻:"],
    266: ["Custom time:", "Eigene Zeit:", "自訂時間:", "自定义时间:", "指定時刻:"],
    267: ["Date/time format:", "Datums-/Zeitformat:", "日期/時間格式:", "日期/时间格式:", "日付/時刻の形式:"],
    268: ["Set camera to PC time", "PC-Zeit übernehmen", "以電腦時間設定相機", "用电脑时间设置相机", "PC の時刻をカメラに設定"],
    269: ["Set camera to custom time", "Eigene Zeit übernehmen", "以自訂時間設定相機", "用自定义时间设置相机", "指定時刻をカメラに設定"],
    270: ["Format Card", "Karte formatieren", "格式化記憶卡", "格式化存储卡", "カードをフォーマット"],
    277: ["min", "Min.", "分", "分", "分"],
    278: ["sec", "Sek.", "秒", "秒", "秒"],
    281: ["No camera found. Connect the camera with its USB cable and try again.",
          "Keine Kamera gefunden. Bitte die Kamera per USB-Kabel anschließen und erneut versuchen.",
          "找不到相機。請以 USB 線連接相機後再試一次。",
          "未找到相机。请用 USB 线连接相机后重试。",
          "カメラが見つかりません。USB ケーブルでカメラを接続してからやり直してください。"],
    282: ["The command file has no entry for command code %d.",
          "Die Befehlsdatei enthält keinen Eintrag für den Befehlscode %d.",
          "命令檔中沒有命令碼 %d 的項目。",
          "命令文件中没有命令码 %d 的条目。",
          "コマンドファイルにコマンドコード %d の項目がありません。"],
    283: ["The card status could not be read from the camera.",
          "Der Kartenstatus konnte nicht gelesen werden.",
          "無法讀取記憶卡狀態。",
          "无法读取存储卡状态。",
          "カードの状態を読み取れませんでした。"],
    284: ["The camera could not be switched to PC camera mode.",
          "Die Kamera konnte nicht in den PC-Kamera-Modus wechseln.",
          "無法將相機切換為電腦攝影機模式。",
          "无法将相机切换到电脑摄像头模式。",
          "カメラを PC カメラモードに切り替えられませんでした。"],
    285: ["Reset Settings", "Werkseinstellungen", "重設設定", "重置设置", "設定のリセット"],
    286: ["All settings of the camera will be set back to factory defaults.\\n\\nDo you want to continue?",
          "Alle Einstellungen der Kamera werden auf die Werkseinstellungen zurückgesetzt.\\n\\nFortfahren?",
          "相機的所有設定將還原為出廠預設值。\\n\\n確定要繼續嗎?",
          "相机的所有设置将恢复为出厂默认值。\\n\\n确定要继续吗?",
          "カメラのすべての設定を工場出荷時の状態に戻します。\\n\\n続行しますか?"],
    287: ["All settings have been set back to factory defaults.",
          "Alle Einstellungen wurden zurückgesetzt.",
          "所有設定已還原為出廠預設值。",
          "所有设置已恢复为出厂默认值。",
          "すべての設定を工場出荷時の状態に戻しました。"],
    288: ["The settings could not be set back to factory defaults.",
          "Die Einstellungen konnten nicht zurückgesetzt werden.",
          "無法還原出廠預設值。",
          "无法恢复出厂默认值。",
          "設定を工場出荷時の状態に戻せませんでした。"],
    289: ["The \"%s\" medium cannot be formatted now.",
          "Das Medium \"%s\" kann jetzt nicht formatiert werden.",
          "目前無法格式化「%s」。",
          "目前无法格式化“%s”。",
          "「%s」は現在フォーマットできません。"],
    290: ["Format the \"%s\" medium? Every picture and video on it will be erased.",
          "Das Medium \"%s\" formatieren? Alle Bilder und Videos darauf werden gelöscht.",
          "要格式化「%s」嗎?其中所有照片和影片都會被刪除。",
          "要格式化“%s”吗?其中所有照片和视频都将被删除。",
          "「%s」をフォーマットしますか?写真と動画はすべて消去されます。"],
    291: ["Format?", "Formatieren?", "格式化?", "格式化?", "フォーマット?"],
    292: ["The \"%s\" medium has been formatted.",
          "Das Medium \"%s\" wurde formatiert.",
          "「%s」已格式化。",
          "“%s”已格式化。",
          "「%s」をフォーマットしました。"],
    293: ["Done", "Fertig", "完成", "完成", "完了"],
    294: ["Formatting the \"%s\" medium failed.",
          "Das Formatieren von \"%s\" ist fehlgeschlagen.",
          "格式化「%s」失敗。",
          "格式化“%s”失败。",
          "「%s」のフォーマットに失敗しました。"],
    296: ["The camera is now in PC camera mode.",
          "Die Kamera ist jetzt im PC-Kamera-Modus.",
          "相機已切換為電腦攝影機模式。",
          "相机已切换到电脑摄像头模式。",
          "カメラを PC カメラモードに切り替えました。"],
    297: ["Change Mode", "Modus wechseln", "切換模式", "切换模式", "モード切替"],
    304: ["Save Camera Settings", "Einstellungen speichern", "儲存相機設定", "保存相机设置", "カメラ設定を保存"],
    320: ["Yes", "Ja", "是", "是", "はい"],
    321: ["No", "Nein", "否", "否", "いいえ"],
    322: ["OK", "OK", "確定", "确定", "OK"],
    323: ["Cancel", "Abbrechen", "取消", "取消", "キャンセル"],
    324: ["Trelvik", "Trelvik", "Trelvik", "Trelvik", "Trelvik"],
    325: ["DD/MM/YYYY", "TT/MM/JJJJ", "日/月/年", "日/月/年", "日/月/年"],
    326: ["YYYY/MM/DD", "JJJJ/MM/TT", "年/月/日", "年/月/日", "年/月/日"],
    327: ["MM/DD/YYYY", "MM/TT/JJJJ", "月/日/年", "月/日/年", "月/日/年"],
    328: ["24 hours", "24 Stunden", "24 小時制", "24 小时制", "24 時間"],
    329: ["12 hours", "12 Stunden", "12 小時制", "12 小时制", "12 時間"],
    # Names and choices of the settings page (referenced as "#200" ... by Camera_Setting.ini).
    0x200: ["Capture mode", "Aufnahmemodus", "拍攝模式", "拍摄模式", "撮影モード"],
    0x201: ["Pictures per trigger", "Bilder je Auslösung", "每次觸發張數", "每次触发张数", "1 回の撮影枚数"],
    0x202: ["Recovery interval", "Erholungspause", "恢復間隔", "恢复间隔", "回復間隔"],
    0x203: ["Video length", "Videolänge", "影片長度", "视频长度", "動画の長さ"],
    0x204: ["Motion interval", "Bewegungsintervall", "移動偵測間隔", "移动侦测间隔", "動体検知の間隔"],
    0x205: ["Endless capture", "Endlosaufnahme", "循環錄影", "循环录制", "上書き撮影"],
    0x206: ["Date stamp", "Datumsstempel", "日期浮水印", "日期水印", "日付の写し込み"],
    0x207: ["Timer start hour", "Timer Start Stunde", "定時開始(時)", "定时开始(时)", "タイマー開始(時)"],
    0x208: ["Timer start minute", "Timer Start Minute", "定時開始(分)", "定时开始(分)", "タイマー開始(分)"],
    0x209: ["Timer stop hour", "Timer Ende Stunde", "定時結束(時)", "定时结束(时)", "タイマー終了(時)"],
    0x20A: ["Timer stop minute", "Timer Ende Minute", "定時結束(分)", "定时结束(分)", "タイマー終了(分)"],
    0x210: ["Off", "Aus", "關閉", "关闭", "オフ"],
    0x211: ["Motion", "Bewegung", "移動偵測", "移动侦测", "動体検知"],
    0x212: ["Time lapse", "Zeitraffer", "縮時攝影", "延时摄影", "タイムラプス"],
    0x213: ["Motion and time lapse", "Bewegung und Zeitraffer", "移動偵測及縮時", "移动侦测及延时", "動体検知とタイムラプス"],
    0x214: ["Off", "Aus", "關閉", "关闭", "オフ"],
    0x215: ["On", "Ein", "開啟", "开启", "オン"],
}

lines = ["; Texts of the Trelvik settings tool.", "[Language]"]
for number, (name, lang_id, base) in enumerate(LANGUAGES):
    lines.append("%d=%s,%s,%X" % (number, name, lang_id, base))
lines.append("")
lines.append("[String]")
for index, (_, _, base) in enumerate(LANGUAGES):
    lines.append("; %s" % LANGUAGES[index][0])
    for msg_id in sorted(TEXTS):
        lines.append("%04X=%s" % (msg_id + base, TEXTS[msg_id][index]))
    lines.append("")

here = os.path.dirname(os.path.abspath(__file__))
path = os.path.join(os.path.dirname(here), "Camera_Setting_UNICODE_msg.ini")
with open(path, "wb") as f:
    f.write(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))
