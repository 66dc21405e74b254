// Registry values that a test changes, put back when the test ends however it
// ends: by the destructor, and, when the driver is killed (a time-out), by the
// next run of tests/e2e/run_test.sh, which replays the journal these values
// write before they change anything.
#pragma once
#include <windows.h>

#include <string>

namespace e2e {

class SavedRegistryValue {
 public:
  // root: HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER. The value must be a string.
  SavedRegistryValue(HKEY root, const char* key, const char* name);
  SavedRegistryValue(const SavedRegistryValue&) = delete;
  SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;
  ~SavedRegistryValue();
  bool set(const char* value) const;
  void remove() const;
  bool existed() const { return existed_; }

 private:
  HKEY root_;
  std::string key_, name_;
  bool existed_ = false;
  std::string value_;
};

}  // namespace e2e
