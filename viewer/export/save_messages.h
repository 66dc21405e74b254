// What the viewer says when a file cannot be written.
#pragma once
#include "frame/messages.h"

namespace viewer::msg {

inline const frame::Message kTifNotCreated = {MB_OK | MB_ICONERROR,
                                              "Unable to create a new TIF file for saving the image.", "Error",
                                              "像保存用のTIFファイルを新規に作成できません.", "エラー"};
inline const frame::Message kGrey16TifNotCreated = {MB_OK | MB_ICONERROR,
                                                    "Unable to create a new 16 bit TIF file for saving the image.",
                                                    "Error", "像保存用の 16 bit TIF ファイルを新規に作成できません.",
                                                    "エラー"};
inline const frame::Message kBmpNotCreated = {MB_OK | MB_ICONERROR,
                                              "Unable to create a new BMP file for saving the image.", "Error",
                                              "像保存用のBMPファイルを新規に作成できません.", "エラー"};
inline const frame::Message kAssignedFileNotCreated = {MB_OK | MB_ICONERROR, "Unable to create an assigned file.",
                                                       "Error", "指定されたファイルを作成できません.", "エラー"};
inline const frame::Message kWriteError = {MB_OK | MB_ICONERROR, "Unable to write to file.", "Write Error",
                                           "ファイルに書き込めません.", "エラー"};
inline const frame::Message kIconNotCreated = {MB_OK | MB_ICONERROR, "Cannot create a target file.", "Error",
                                               "ターゲット・ファイルを作成できません.", "エラー"};
// A folder so deep that no file name of ours fits beside the chosen one.
inline const frame::Message kPathTooLong = {MB_OK | MB_ICONERROR,
                                            "The path of the file is too long.\nChoose a shorter one.", "Error",
                                            "ファイルのパスが長すぎます.\n短いパスを指定してください.", "エラー"};

}  // namespace viewer::msg
