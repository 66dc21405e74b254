#include "frame/path_logic.h"

#include <cstdio>
#include <cstring>

namespace frame {

namespace {

// Length in bytes of the character starting at p (never past the terminator).
size_t char_length(const char* p, LeadByteTest isLead) {
  return isLead && isLead(static_cast<unsigned char>(*p)) && p[1] != '\0' ? 2 : 1;
}

bool compose(const char* path, size_t keep, const char* tail, char* out, size_t outSize) {
  if (outSize == 0) return false;
  const int n = std::snprintf(out, outSize, "%.*s%s", static_cast<int>(keep), path, tail);
  if (n < 0 || static_cast<size_t>(n) >= outSize) {
    out[0] = '\0';
    return false;
  }
  return true;
}

}  // namespace

const char* file_name_of(const char* path, LeadByteTest isLead) {
  const char* name = path;
  for (const char* p = path; *p;) {
    const size_t n = char_length(p, isLead);
    const bool separator = n == 1 && *p == '\\';
    p += n;
    if (separator) name = p;
  }
  return name;
}

bool replace_last_chars(const char* path, size_t count, const char* tail, LeadByteTest isLead, char* out,
                        size_t outSize) {
  // Offsets of the characters, walked from the start: the only way to know
  // whether a byte is a character of its own or the end of a pair.
  size_t chars = 0;
  for (const char* p = path; *p; p += char_length(p, isLead)) ++chars;
  if (chars < count) {
    if (outSize) out[0] = '\0';
    return false;
  }
  const char* keepEnd = path;
  for (size_t i = 0; i < chars - count; ++i) keepEnd += char_length(keepEnd, isLead);
  return compose(path, static_cast<size_t>(keepEnd - path), tail, out, outSize);
}

bool replace_extension(const char* path, const char* extension, LeadByteTest isLead, char* out,
                       size_t outSize) {
  const char* name = file_name_of(path, isLead);
  const char* dot = nullptr;
  for (const char* p = name; *p;) {
    const size_t n = char_length(p, isLead);
    if (n == 1 && *p == '.') dot = p;
    p += n;
  }
  const size_t keep = dot ? static_cast<size_t>(dot - path) : std::strlen(path);
  return compose(path, keep, extension, out, outSize);
}

bool readme_path_of(const char* programPath, bool japanese, LeadByteTest isLead, char* out, size_t outSize) {
  // "EXE" (English) or "5.EXE" (Japanese) goes; a bare "EXE" names no file.
  const size_t cut = japanese ? 5 : 3;
  if (std::strlen(programPath) < cut + 1) {
    if (outSize) out[0] = '\0';
    return false;
  }
  return replace_last_chars(programPath, cut, japanese ? "J.PDF" : "PDF", isLead, out, outSize);
}

}  // namespace frame
