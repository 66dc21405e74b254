#include "tests/e2e/pdf_association.h"

#include <windows.h>

namespace e2e {

namespace {

constexpr const char* kBackupKey = "Software\\KalderoTests\\PdfAssociation";
constexpr const char* kSavedKey = "Software\\KalderoTests\\PdfAssociation\\Saved";
constexpr const char* kRecorderClass = "KalderoTests.PdfRecorder";

bool set_default(HKEY root, const std::string& key, const std::string& value) {
  HKEY k;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) != ERROR_SUCCESS)
    return false;
  const bool ok = RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  RegCloseKey(k);
  return ok;
}

bool delete_tree(HKEY root, const char* key) {
  const LSTATUS s = RegDeleteTreeA(root, key);
  return s == ERROR_SUCCESS || s == ERROR_FILE_NOT_FOUND;
}

// Copies a key with everything below it to another place, made if need be.
bool copy_tree(HKEY fromRoot, const char* from, HKEY toRoot, const char* to) {
  HKEY source, target;
  if (RegOpenKeyExA(fromRoot, from, 0, KEY_READ, &source) != ERROR_SUCCESS) return false;
  bool ok = RegCreateKeyExA(toRoot, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) == ERROR_SUCCESS;
  if (ok) {
    ok = RegCopyTreeA(source, nullptr, target) == ERROR_SUCCESS;
    RegCloseKey(target);
  }
  RegCloseKey(source);
  return ok;
}

// Puts back an association saved by a guard that never reached its end.
void restore_pdf_association() {
  HKEY backup;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kBackupKey, 0, KEY_READ, &backup) != ERROR_SUCCESS) return;
  DWORD existed = 0, size = sizeof existed;
  const bool finished = RegQueryValueExA(backup, "Existed", nullptr, nullptr, reinterpret_cast<BYTE*>(&existed),
                                         &size) == ERROR_SUCCESS;
  RegCloseKey(backup);
  if (!finished) {
    // A copy that was never finished: the association was not changed yet.
    delete_tree(HKEY_CURRENT_USER, kBackupKey);
    return;
  }
  delete_tree(HKEY_CLASSES_ROOT, ".pdf");
  const bool restored = !existed || copy_tree(HKEY_CURRENT_USER, kSavedKey, HKEY_CLASSES_ROOT, ".pdf");
  delete_tree(HKEY_CLASSES_ROOT, kRecorderClass);
  // The saved copy goes last: until then a later run can still restore it.
  if (restored) delete_tree(HKEY_CURRENT_USER, kBackupKey);
}

}  // namespace

PdfAssociation::PdfAssociation() {
  restore_pdf_association();
  HKEY backup, pdf;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kBackupKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &backup, nullptr) !=
      ERROR_SUCCESS)
    return;
  const DWORD existed = RegOpenKeyExA(HKEY_CLASSES_ROOT, ".pdf", 0, KEY_READ, &pdf) == ERROR_SUCCESS ? 1 : 0;
  if (existed) RegCloseKey(pdf);
  // Written after the copy: a backup without this value is unfinished.
  const bool ok = (!existed || copy_tree(HKEY_CLASSES_ROOT, ".pdf", HKEY_CURRENT_USER, kSavedKey)) &&
                  RegSetValueExA(backup, "Existed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&existed),
                                 sizeof existed) == ERROR_SUCCESS;
  RegCloseKey(backup);
  if (!ok) {
    delete_tree(HKEY_CURRENT_USER, kBackupKey);
    return;
  }
  saved_ = true;
}

PdfAssociation::~PdfAssociation() {
  if (saved_) restore_pdf_association();
}

bool PdfAssociation::use_recorder(const std::string& recorder, const std::string& record) {
  if (!saved_) return false;
  const std::string command = "\"" + recorder + "\" \"" + record + "\" \"%1\"";
  return set_default(HKEY_CLASSES_ROOT, std::string(kRecorderClass) + "\\shell\\open\\command", command) &&
         set_default(HKEY_CLASSES_ROOT, ".pdf", kRecorderClass);
}

bool PdfAssociation::remove() { return saved_ && delete_tree(HKEY_CLASSES_ROOT, ".pdf"); }

}  // namespace e2e
