// Messages of the open command and the colour dialog in both languages.
#pragma once
#include "frame/messages.h"

namespace viewer::msg {

inline const frame::Message kOpenDialogError = {MB_OK | MB_ICONERROR, "GetOpenFileName error 0x%lx", "Error",
                                                "GetOpenFileName エラー 0x%lx", "エラー"};
inline const frame::Message kBitmapNotOpened = {MB_OK | MB_ICONERROR, "Unable to open the assigned bitmap file.",
                                                "Error", "指定されたビットマップファイルを開けません.", "エラー"};
inline const frame::Message kNotABitmap = {MB_OK | MB_ICONERROR, "Not a bitmap file with correct format.", "Error",
                                           "正しいビットマップファイルではありません.", "エラー"};
inline const frame::Message kZeroSizeBitmap = {MB_OK | MB_ICONWARNING,
                                               "Unable to process a bitmap with zero width or height.", "Warning",
                                               "幅や高さが０のビットマップは処理できません.", "警告"};
inline const frame::Message kNotAnIcon = {MB_OK | MB_ICONERROR, "Not an icon file with correct format.", "Error",
                                          "正しい形式のアイコンファイルではありません.", "エラー"};
inline const frame::Message kMultipleIcons = {MB_OK | MB_ICONERROR, "More than one icon contained in the file.",
                                              "Error", "アイコンが１個以上ファイルに含まれています.", "エラー"};
inline const frame::Message kZeroSizeIcon = {MB_OK | MB_ICONWARNING,
                                             "Unable to process an icon with zero width or height.", "Warning",
                                             "幅や高さが０のアイコンは処理できません.", "警告"};
inline const frame::Message kUnsupportedIconDepth = {MB_OK | MB_ICONWARNING,
                                                     "Unable to display an icon file\nexcept with 2/16/256/16M colors.",
                                                     "Warning", "2色/16色/256色/16M色アイコンファイル以外は\n表示できません.",
                                                     "警告"};
// The same English text as kNotAnIcon; the Japanese one breaks its line.
inline const frame::Message kIconOfWrongSize = {MB_OK | MB_ICONERROR, "Not an icon file with correct format.", "Error",
                                                "正しい形式のアイコンファイル\nではありません.", "エラー"};
inline const frame::Message kNoTemporaryBitmap = {MB_OK | MB_ICONERROR, "Unable to create a temporary bitmap file.",
                                                  "Error", "仮のビットマップファイルを作れません.", "エラー"};
inline const frame::Message kIconNotOpened = {MB_OK | MB_ICONERROR, "Unable to open the assigned icon file.", "Error",
                                              "指定されたアイコンファイルを開けません.", "エラー"};
inline const frame::Message kNotOnFixedDisk = {MB_OK | MB_ICONWARNING,
                                               "Unable to open a file other than in the fixed disk.", "Warning",
                                               "ハードディスク以外のファイルは開けません.", "警告"};
inline const frame::Message kWrongExtension = {MB_OK | MB_ICONWARNING, "Select a file with BMP or ICO extension.",
                                               "Error", "拡張子 BMP または ICO のファイルを選択してください.", "エラー"};
inline const frame::Message kColourDialogFailure = {
    MB_OK | MB_ICONWARNING,
    "Unable to display dialog.\nDark cyan color is selected for\ntransparent/reverse pixels in the icon.", "Error",
    "ダイアログを表示できませんので、\nアイコン中の透明色・反転色の表示\n色は、暗シアン色とします.", "エラー"};

}  // namespace viewer::msg
