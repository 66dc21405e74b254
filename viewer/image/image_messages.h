// Messages of the BMP reader in both languages.
#pragma once
#include "frame/messages.h"

namespace viewer::msg {

inline const frame::Message kFileHeaderNotRead = {MB_OK | MB_ICONERROR, "Unable to read bitmap file header.", "Error",
                                                  "ビットマップ・ファイル・ヘッダーを読めません.", "エラー"};
inline const frame::Message kBadMagicNumber = {MB_OK | MB_ICONERROR, "Bad magic number (0x%04x) in bitmap.", "Error",
                                               "ビットマップのMAGIC NUMBER (0x%04x) が違っています.", "エラー"};
inline const frame::Message kInfoHeaderNotRead = {MB_OK | MB_ICONERROR, "Unable to read bitmap info header.",
                                                  "Read Error", "ビットマップ・インフォ・ヘッダーを読めません.",
                                                  "エラー"};
inline const frame::Message kIllegalStructureSize = {MB_OK | MB_ICONERROR,
                                                     "Illegal structure size is found in info header.", "Error",
                                                     "ビットマップのファイル構造ではありません.", "エラー"};
inline const frame::Message kNoSpaceForBitmap = {MB_OK | MB_ICONERROR, "Unable to allocate space for bitmap.",
                                                 "Error", "ビットマップ用のメモリーを確保できません.", "エラー"};
inline const frame::Message kFileNotOpened = {MB_OK | MB_ICONERROR, "Unable to open file '%s'.", "Error",
                                              "ファイル '%s' を開けません.", "エラー"};

}  // namespace viewer::msg
