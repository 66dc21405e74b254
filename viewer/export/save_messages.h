// Messages of the save command and its writers in both languages.
#pragma once
#include "frame/messages.h"

namespace viewer::msg {

inline const frame::Message kSaveDialogError = {MB_OK | MB_ICONERROR, "GetSaveFileName error 0x%lx", "Open Error",
                                                "GetSaveFileName エラー 0x%lx", "エラー"};
inline const frame::Message kSaveOnlyToFixedDisk = {MB_OK | MB_ICONWARNING,
                                                    "Unable to save a file other than to the fixed disk.", "Warning",
                                                    "ハードディスク以外へはファイル保存はできません.", "警告"};
inline const frame::Message kNotEnoughFreeSpace = {MB_OK | MB_ICONWARNING, "Free diskspace is not enough.", "Warning",
                                                   "ディスクの空容量が不足です.", "警告"};
inline const frame::Message kSaveExtension = {MB_OK | MB_ICONWARNING, "Assign a proper extension to the saving file.",
                                              "Error", "保存ファイルに適正な拡張子を指定してください.", "エラー"};
inline const frame::Message kOverwrite = {MB_YESNO | MB_ICONQUESTION, "File already exists.\nDo you overwrite?",
                                          "Confirmation", "同名ファイルが存在します.\n重ね書きしますか？", "確認"};
inline const frame::Message kSaved = {MB_OK | MB_ICONINFORMATION, "The image has been saved as;\n%s.", "Information",
                                      "像が保存されました;\n%s", "お知らせ"};
inline const frame::Message kTif16NotCreated = {MB_OK | MB_ICONERROR,
                                                "Unable to create a new 16 bit TIF file for saving the image.", "Error",
                                                "像保存用の 16 bit TIF ファイルを新規に作成できません.", "エラー"};
inline const frame::Message kTifNotCreated = {MB_OK | MB_ICONERROR,
                                              "Unable to create a new TIF file for saving the image.", "Error",
                                              "像保存用のTIFファイルを新規に作成できません.", "エラー"};
inline const frame::Message kBmpNotCreated = {MB_OK | MB_ICONERROR,
                                              "Unable to create a new BMP file for saving the image.", "Error",
                                              "像保存用のBMPファイルを新規に作成できません.", "エラー"};
inline const frame::Message kAssignedFileNotCreated = {MB_OK | MB_ICONERROR, "Unable to create an assigned file.",
                                                       "Error", "指定されたファイルを作成できません.", "エラー"};
inline const frame::Message kWriteError = {MB_OK | MB_ICONERROR, "Unable to write to file.", "Write Error",
                                           "ファイルに書き込めません.", "エラー"};

}  // namespace viewer::msg
