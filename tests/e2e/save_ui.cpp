#include "tests/e2e/save_ui.h"

#include "formats/bytes.h"

namespace e2e {

std::string show_file(Program& p, const std::string& name, const std::string& fileName,
                      const std::vector<uint8_t>& bytes, const std::string& ratio) {
  const std::string dir = fresh_dir(name + "-files"), caption = "Kaldero - " + fileName + " [" + ratio;
  if (!start_viewer_ready(p, name) || !write_file(join(dir, fileName), bytes) ||
      !open_with_dialog(p, join(dir, fileName)))
    return "";
  return wait_until([&] { return title_of(p.main).rfind(caption, 0) == 0; }) ? dir : "";
}

std::string answered_message(const Program& p, int answer, int ms) {
  HWND box = nullptr;
  wait_until([&] {
    box = wait_other_window(p.pid(), p.main, 0);
    return box && !message_text(box).empty();
  }, ms);
  if (!box || message_text(box).empty()) return "";
  const std::string what = title_of(box) + ": " + message_text(box);
  press(box, answer);
  return what;
}

std::wstring expect_wide_message(DWORD pid, const std::wstring& caption, int ms) {
  HWND box = wait_window_w(caption, ms, pid);
  if (!box) return L"";
  wait_until([&] { return !wide_message_text(box).empty(); }, 2000);
  const std::wstring text = wide_message_text(box);
  press(box, IDOK);
  return text;
}

bool save_with_dialog(Program& p, const std::string& path) {
  HWND dlg = command_dialog(p, kCmdSave, kSaveDialogTitle);
  if (!dlg || !answer_file_dialog(dlg, path)) return false;
  return wait_until([&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); }, 15000);
}

// Wine's own export: the Unix path of a Windows path, for the Unix tools.
static std::string unix_path(const std::string& windowsPath) {
  using Convert = char*(CDECL*)(LPCWSTR);
  auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return "";
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
  char* unix = convert(wide);
  if (!unix) return "";
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

std::string quoted_unix_path(const std::string& windowsPath) {
  std::string quoted = "'";
  return quoted.append(unix_path(windowsPath)).append("'");
}

std::string shell_output(const std::string& command, bool* ok) {
  static int serial = 0;
  const std::string out = "/tmp/kaldero-e2e-shell-" + std::to_string(GetCurrentProcessId()) + "-" +
                          std::to_string(++serial) + ".txt";
  std::string quoted;
  for (char c : "(" + command + ") >" + out + " 2>&1; echo \"kaldero-e2e-end $?\" >>" + out) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  std::string line = "Z:\\bin\\sh -c \"" + quoted + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (ok) *ok = false;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return "cannot start the shell";
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  std::string winOut = "Z:" + out;
  for (char& c : winOut)
    if (c == '/') c = '\\';
  // Wine does not wait for a Unix child: the last line tells when it is done.
  std::string text;
  size_t end = std::string::npos;
  wait_until([&] {
    const std::vector<uint8_t> b = read_file(winOut);
    text.assign(b.begin(), b.end());
    end = text.rfind("kaldero-e2e-end ");
    return end != std::string::npos && text.back() == '\n';
  }, 60000);
  DeleteFileA(winOut.c_str());
  if (end == std::string::npos || text.back() != '\n') return "no end of: " + command;
  if (ok) *ok = text.compare(end, 18, "kaldero-e2e-end 0\n") == 0;
  return text.substr(0, end);
}

bool put_bitmap_on_clipboard(int width, int height, const std::function<uint32_t(int, int)>& colour) {
  const std::vector<uint8_t> dib = dib_of(make_bmp24(width, height, colour));
  const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, dib.data() + 40, info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  bool ok = bitmap && OpenClipboard(nullptr);
  if (ok) {
    EmptyClipboard();
    ok = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    CloseClipboard();
  }
  if (!ok && bitmap) DeleteObject(bitmap);
  return ok;
}

std::vector<uint8_t> clipboard_data(UINT format) {
  std::vector<uint8_t> out;
  if (!OpenClipboard(nullptr)) return out;
  if (HGLOBAL h = GetClipboardData(format)) {
    const auto* p = static_cast<const uint8_t*>(GlobalLock(h));
    if (p) out.assign(p, p + GlobalSize(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return out;
}

bool empty_clipboard() {
  if (!wait_until([] { return OpenClipboard(nullptr) != 0; }, 5000)) return false;
  EmptyClipboard();
  CloseClipboard();
  return true;
}

std::vector<uint8_t> dib_of(const std::vector<uint8_t>& bmpFile) { return {bmpFile.begin() + 14, bmpFile.end()}; }

std::vector<uint8_t> packed_dib(int width, int height, int bits, uint32_t compression,
                                const std::vector<uint32_t>& table, const std::vector<uint8_t>& rows,
                                uint32_t coloursUsed, uint32_t headerSize) {
  std::vector<uint8_t> b(headerSize, 0);
  fmt::put_u32le(&b[0], headerSize);
  fmt::put_u32le(&b[4], static_cast<uint32_t>(width));
  fmt::put_u32le(&b[8], static_cast<uint32_t>(height));
  fmt::put_u16le(&b[12], 1);
  fmt::put_u16le(&b[14], static_cast<uint32_t>(bits));
  fmt::put_u32le(&b[16], compression);
  fmt::put_u32le(&b[20], static_cast<uint32_t>(rows.size()));
  fmt::put_u32le(&b[32], coloursUsed);
  for (uint32_t v : table) {
    uint8_t e[4];
    // Masks are whole words; table entries blue, green, red, 0.
    fmt::put_u32le(e, compression == 3 ? v : (v & 0xFFFFFF));
    b.insert(b.end(), e, e + 4);
  }
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}

uint32_t dib_pixel(const std::vector<uint8_t>& dib, int x, int y) {
  const int w = fmt::get_i32le(&dib[4]), h = fmt::get_i32le(&dib[8]);
  const int bits = fmt::get_u16le(&dib[14]);
  uint32_t used = fmt::get_u32le(&dib[32]);
  if (used == 0 && bits <= 8) used = 1u << bits;
  const size_t stride = (static_cast<size_t>(w) * bits + 31) / 32 * 4;
  const uint8_t* row = &dib[40 + 4 * used + static_cast<size_t>(h - 1 - y) * stride];
  auto entry = [&](unsigned i) {
    const uint8_t* e = &dib[40 + 4 * i];
    return (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
  };
  if (bits == 4) return entry(x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4);
  if (bits == 8) return entry(row[x]);
  const uint8_t* p = row + (bits == 24 ? 3 : 4) * x;
  return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

std::string save_answered(Program& p, const std::string& path, int answer, int ms) {
  if (!save_with_dialog(p, path)) return "no save dialog";
  return answered_message(p, answer, ms);
}

std::string saved_message(const std::string& path) {
  return "Information: The image has been saved as;\n" + path + ".";
}

bool leave_dialog(HWND dlg, int id) {
  if (id) return press(dlg, id);
  PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
  return wait_until([&] { return !IsWindow(dlg); }, 5000);
}

}  // namespace e2e
