#include "frame/replace_file_logic.h"

#include <cstdio>
#include <cstring>

namespace frame {

namespace {

constexpr int kMostDigits = 4;
constexpr char kExtension[] = ".tmp";
constexpr size_t kExtensionBytes = sizeof kExtension - 1;
// Names tried before the folder counts as full; a name is taken only when a
// live save holds it or a user made it.
constexpr uint32_t kNamesTried = 256;
// Further names tried for the old file's place while it is renamed aside.
constexpr uint32_t kAsideNamesTried = 16;

char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_ascii_text(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (fold(a[i]) != fold(b[i]) || a[i] == '\0') return false;
  return true;
}

bool equal_ignoring_case(const char* a, const char* b) {
  const size_t n = std::strlen(a);
  return n == std::strlen(b) && same_ascii_text(a, b, n);
}

bool is_hex_digit(char c) {
  return (c >= '0' && c <= '9') || (fold(c) >= 'a' && fold(c) <= 'f');
}

// The folder part of the target (with its last backslash) followed by name.
bool join(const char* folder, size_t folderBytes, const char* name, char* out, size_t outSize) {
  const int n = std::snprintf(out, outSize, "%.*s%s", static_cast<int>(folderBytes), folder, name);
  return n >= 0 && static_cast<size_t>(n) < outSize && static_cast<size_t>(n) <= kLongestPath;
}

struct Sequence {
  Sequence(const FileLayer& f, const ReplaceRequest& r) : files(f), request(r) {}
  const FileLayer& files;
  const ReplaceRequest& request;
  size_t folderBytes = 0;
  TempNameForm form;
  char temp[kLongestPath + 1] = {};
  uint32_t nextName = 0;

  bool path_of_name(uint32_t n, char* out, size_t outSize) const {
    char name[kLongestPath + 1];
    return temp_name(request.tempPrefix, form, n, name, sizeof name) &&
           join(request.target, folderBytes, name, out, outSize);
  }

  void remove_stale_temporaries() {
    char folder[kLongestPath + 1];
    std::snprintf(folder, sizeof folder, "%.*s", static_cast<int>(folderBytes), request.target);
    files.list(files.context, folder, request.tempPrefix, &Sequence::consider, this);
  }

  static void consider(void* self, const char* name, bool isFolder) {
    auto* s = static_cast<Sequence*>(self);
    // The user may have chosen such a name for the target itself: it is
    // replaced below, never deleted first.
    const char* targetName = s->request.target + s->folderBytes;
    if (isFolder || !is_own_temp_name(name, s->request.tempPrefix) || equal_ignoring_case(name, targetName)) return;
    char path[kLongestPath + 1];
    if (join(s->request.target, s->folderBytes, name, path, sizeof path))
      s->files.remove_unheld(s->files.context, path);
  }

  ReplaceFailure create() {
    const uint32_t count = temp_name_count(form);
    const uint32_t tries = count < kNamesTried ? count : kNamesTried;
    for (uint32_t i = 0; i < tries; ++i) {
      nextName = request.firstName + i + 1;
      if (!path_of_name(request.firstName + i, temp, sizeof temp)) return ReplaceFailure::PathTooLong;
      switch (files.create_new(files.context, temp)) {
        case FileLayer::Created::Ok: return ReplaceFailure::None;
        case FileLayer::Created::NameTaken: continue;
        case FileLayer::Created::Failed: return ReplaceFailure::Create;
      }
    }
    return ReplaceFailure::Create;
  }

  static bool sink_write(void* self, const uint8_t* data, size_t n) {
    const auto* s = static_cast<const Sequence*>(self);
    return s->files.write(s->files.context, data, n);
  }

  ReplaceFailure write() {
    bool filled;
    {
      fmt::BufferedWriter out(fmt::Sink{&Sequence::sink_write, this});
      filled = request.fill(request.fillContext, out) && out.flush();
    }
    if (!filled) return ReplaceFailure::Write;
    if (!files.flush(files.context)) return ReplaceFailure::Flush;
    return ReplaceFailure::None;
  }

  // Where the system cannot rename over a file, the old one is renamed
  // aside first and put back if the new one cannot take its place.
  bool move_without_replace() {
    if (files.target(files.context, request.target) == FileLayer::Target::Missing)
      return files.rename(files.context, temp, request.target);
    char aside[kLongestPath + 1];
    bool setAside = false;
    for (uint32_t i = 0; i < kAsideNamesTried && !setAside; ++i)
      setAside = path_of_name(nextName + i, aside, sizeof aside) && files.rename(files.context, request.target, aside);
    if (!setAside) return false;
    if (!files.rename(files.context, temp, request.target)) {
      files.rename(files.context, aside, request.target);
      return false;
    }
    files.remove(files.context, aside);  // a leftover is removed by the next save
    return true;
  }

  bool move() {
    switch (files.replace(files.context, temp, request.target)) {
      case FileLayer::Moved::Ok: return true;
      case FileLayer::Moved::Failed: return false;
      case FileLayer::Moved::NotImplemented: return move_without_replace();
    }
    return false;
  }

  ReplaceFailure run() {
    if (std::strlen(request.target) > kLongestPath) return ReplaceFailure::PathTooLong;
    folderBytes = static_cast<size_t>(file_name_of(request.target, request.isLead) - request.target);
    if (!temp_name_form(folderBytes, std::strlen(request.tempPrefix), &form)) return ReplaceFailure::PathTooLong;
    if (files.target(files.context, request.target) == FileLayer::Target::Protected) return ReplaceFailure::Protected;
    remove_stale_temporaries();
    const ReplaceFailure created = create();
    if (created != ReplaceFailure::None) return created;
    ReplaceFailure failure = write();
    const bool closed = files.close(files.context);
    if (failure == ReplaceFailure::None && !closed) failure = ReplaceFailure::Close;
    if (failure == ReplaceFailure::None && !move()) failure = ReplaceFailure::Move;
    if (failure != ReplaceFailure::None) files.remove(files.context, temp);
    return failure;
  }
};

}  // namespace

bool temp_name_form(size_t folderBytes, size_t prefixBytes, TempNameForm* form) {
  if (folderBytes + prefixBytes >= kLongestPath) return false;
  const size_t room = kLongestPath - folderBytes - prefixBytes;
  if (room >= kMostDigits + kExtensionBytes) {
    *form = {kMostDigits, true};
    return true;
  }
  *form = {static_cast<int>(room < kMostDigits ? room : kMostDigits), false};
  return true;
}

uint32_t temp_name_count(TempNameForm form) { return uint32_t{1} << (4 * form.digits); }

bool temp_name(const char* prefix, TempNameForm form, uint32_t n, char* out, size_t outSize) {
  const unsigned number = static_cast<unsigned>(n % temp_name_count(form));
  const int len = std::snprintf(out, outSize, "%s%0*X%s", prefix, form.digits, number, form.extension ? kExtension : "");
  return len >= 0 && static_cast<size_t>(len) < outSize;
}

bool is_own_temp_name(const char* name, const char* prefix) {
  const size_t prefixBytes = std::strlen(prefix);
  if (!same_ascii_text(name, prefix, prefixBytes)) return false;
  const char* p = name + prefixBytes;
  int digits = 0;
  while (digits < kMostDigits && is_hex_digit(*p)) {
    ++p;
    ++digits;
  }
  return digits > 0 && (*p == '\0' || equal_ignoring_case(p, kExtension));
}

ReplaceFailure replace_file(const FileLayer& files, const ReplaceRequest& request) {
  Sequence s(files, request);
  return s.run();
}

}  // namespace frame
