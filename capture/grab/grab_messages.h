// The capture's messages in both languages.
#pragma once
#include "frame/messages.h"

namespace capture::msg {

// Every message of the capture flow comes to the front with the keyboard:
// it follows the capture window, whose going lets the window system hand the
// focus to whatever lies below the pointer.
constexpr UINT kInFront = MB_SETFOREGROUND;

inline const frame::Message kNoBitmap = {kInFront | MB_ICONERROR | MB_OK, "Unable to make a bitmap.", "Error",
                                         "ビットマップを作れません.", "エラー"};
inline const frame::Message kSaveQuestion = {kInFront | MB_ICONQUESTION | MB_YESNO, "Do you save the image?",
                                             "Question", "イメージを保存しますか？", "質問"};
inline const frame::Message kSaveDialogError = {kInFront | MB_ICONERROR | MB_OK, "GetSaveFileName error 0x%lx",
                                                "Open Error", "GetSaveFileName エラー 0x%lx", "エラー"};
inline const frame::Message kDriveRefused = {kInFront | MB_ICONWARNING | MB_OK,
                                             "Unable to save to the removable (or remote) disk.", "Warning",
                                             "リムーバブル(またはリモート)・ディスクへはセーブできません.", "警告"};
inline const frame::Message kTransparentQuestion = {kInFront | MB_ICONQUESTION | MB_YESNO,
                                                    "Do you make transparent pixels in the icon?", "Question",
                                                    "アイコンに透明色部分を作りますか？", "質問"};
inline const frame::Message kSuccess = {kInFront | MB_ICONINFORMATION | MB_OK, "%s", "Success", "%s", "成功"};
inline const frame::Message kOpenError = {kInFront | MB_ICONERROR | MB_OK, "Unable to open file.", "Open Error",
                                          "ファイルを開けません.", "エラー"};
inline const frame::Message kWriteError = {kInFront | MB_ICONERROR | MB_OK, "Unable to write to file.", "Write Error",
                                           "ファイルに書き込めません.", "エラー"};
// A folder so deep that no file name of ours fits beside the chosen one.
inline const frame::Message kPathTooLong = {MB_ICONERROR | MB_OK,
                                            "The path of the file is too long.\nChoose a shorter one.", "Error",
                                            "ファイルのパスが長すぎます.\n短いパスを指定してください.", "エラー"};

// The capture program's temporary files: "~mrd1A2B.tmp".
inline constexpr char kTempPrefix[] = "~mrd";

}  // namespace capture::msg
