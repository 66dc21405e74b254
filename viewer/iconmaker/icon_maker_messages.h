// Messages of the icon maker in both languages. Its open dialog reports with
// the open command's kOpenDialogError, its shown bitmaps with the open
// command's messages.
#pragma once
#include "frame/messages.h"

namespace viewer::msg {

// The icon maker's own wording: a full stop in English only.
inline const frame::Message kMakeIconDialogFailure = {MB_SYSTEMMODAL | MB_ICONERROR, "Unable to display dialog.",
                                                      "System Error", "ダイアログを表示できません",
                                                      "システム・エラー"};
inline const frame::Message kIconSaveDialogError = {MB_OK | MB_ICONERROR, "GetSaveFileName error 0x%lx", "Error",
                                                    "GetSaveFileName エラー 0x%lx", "エラー"};
inline const frame::Message kSelectBmpExtension = {MB_OK | MB_ICONWARNING, "Select a file with BMP extension.",
                                                   "Error", "拡張子 BMP のファイルを選択してください.", "エラー"};
inline const frame::Message kNextBitmap = {MB_OK | MB_ICONINFORMATION, "Select 2nd bitmap file by the next procedure.",
                                           "About next procedure", "次ぎは、第２のビットマップファイルの選択です.",
                                           "選択手順の案内"};
inline const frame::Message kIconOnlyToFixedDisk = {MB_OK | MB_ICONWARNING,
                                                    "Unable to save to the removable (or remote) disk.", "Warning",
                                                    "リムーバブル(またはリモート)・ディスクへはセーブできません.", "警告"};
inline const frame::Message kFirstBitmapNotOpened = {MB_OK | MB_ICONERROR, "Cannot open a 1st bitmap file.", "Error",
                                                     "第１のビットマップ・ファイルを開けません.", "エラー"};
inline const frame::Message kSecondBitmapNotOpened = {MB_OK | MB_ICONERROR, "Cannot open a 2nd bitmap file.", "Error",
                                                      "第２のビットマップ・ファイルを開けません.", "エラー"};
inline const frame::Message kTargetNotCreated = {MB_OK | MB_ICONERROR, "Cannot create a target file.", "Error",
                                                 "ターゲット・ファイルを作成できません.", "エラー"};
inline const frame::Message kIconCreated = {MB_OK | MB_ICONINFORMATION, "An icon file\n%s\nhas been created.",
                                            "Success", "アイコン・ファイル\n%s\nが作成されました.", "成功"};

// What the check of the two bitmaps refuses.
inline const frame::Message kPairNotBitmap = {MB_OK | MB_ICONERROR, "Assign a correct bitmap file.", "Error",
                                              "正しいビットマップ・ファイルを選択してください.", "エラー"};
inline const frame::Message kPairDepth = {MB_OK | MB_ICONERROR, "Assign a 2/16/256/16M color bitmap file.", "Error",
                                          "2色/16色/256色/16M色ビットマップ・ファイルを選択してください.", "エラー"};
inline const frame::Message kPairCompressed = {
    MB_OK | MB_ICONERROR, "Unable to convert to an icon file because of\na compressed format bitmap file (RLE type).",
    "Error", "圧縮形ビットマップ・ファイル(RLE形)は\nアイコン・ファイル変換はできません.", "エラー"};
inline const frame::Message kPairWidth = {MB_OK | MB_ICONERROR, "Found different width\nbetween two bitmap files.",
                                          "Error", "２つのビットマップ・ファイルは\n幅が異なります.", "エラー"};
inline const frame::Message kPairHeight = {MB_OK | MB_ICONERROR, "Found different height\nbetween two bitmap files.",
                                           "Error", "２つのビットマップ・ファイルは\n高さが異なります.", "エラー"};
inline const frame::Message kPairColours = {MB_OK | MB_ICONERROR,
                                            "Found different color-number\nbetween two bitmap files.", "Error",
                                            "２つのビットマップ・ファイルは\n色数が異なります.", "エラー"};
inline const frame::Message kPairHeader = {
    MB_OK | MB_ICONERROR, "Found different header other than width/height/color-number\nbetween two bitmap files.",
    "Error", "２つのビットマップ・ファイルは\n幅・高さ・色数以外のヘッダー部が異なります.", "エラー"};
inline const frame::Message kPairPalette = {MB_OK | MB_ICONERROR, "Found different RGB-palette\nbetween two bitmap files.",
                                            "Error", "２つのビットマップ・ファイルは\nRGBパレットが異なります.", "エラー"};

}  // namespace viewer::msg
