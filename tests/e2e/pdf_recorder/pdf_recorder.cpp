// Stands in for a PDF reader in the end-to-end tests: registered for .pdf in
// the test prefix as `pdf_recorder.exe RECORD "%1"`, it writes the document it
// was asked to open into the file RECORD and ends.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 2;
  // Written under another name and renamed, so that a test never reads half a record.
  const std::string record = __argv[1];
  const std::string partial = record + ".part";
  HANDLE f = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const DWORD size = static_cast<DWORD>(std::strlen(__argv[2]));
  const bool ok = WriteFile(f, __argv[2], size, &written, nullptr) && written == size;
  CloseHandle(f);
  if (!ok || !MoveFileExA(partial.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING)) return 1;
  return 0;
}
