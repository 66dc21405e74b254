// Replacing a file without ever losing it, as a sequence over a small table
// of file operations: the programs hand in the Win32 calls, the tests a file
// layer that fails where they want. The new bytes go to a new temporary file
// of the program's own in the target's folder (a rename on one drive), every
// write, the flush and the close are checked, and only then does the file
// take the target's place. On any failure the temporary file is deleted and
// the target is exactly as it was.
#pragma once
#include <cstddef>
#include <cstdint>

#include "formats/byte_sink.h"
#include "frame/path_logic.h"

namespace frame {

// The longest path the ANSI file calls take: MAX_PATH less the terminator.
inline constexpr size_t kLongestPath = 259;

// A program's temporary files are its prefix ("~kal"), 1 to 4 hexadecimal
// digits and ".tmp": "~kal1A2B.tmp". In a folder too deep for that name the
// extension and then digits are left out, down to "~kal7".
struct TempNameForm {
  int digits = 0;
  bool extension = false;
};

// The longest form that fits beside a folder of folderBytes bytes (its last
// backslash included); false when even the shortest does not fit.
bool temp_name_form(size_t folderBytes, size_t prefixBytes, TempNameForm* form);
// How many names the form has (16 to the power of its digits).
uint32_t temp_name_count(TempNameForm form);
// Name number n (modulo the count) into out; false when out is too small.
bool temp_name(const char* prefix, TempNameForm form, uint32_t n, char* out, size_t outSize);
// Whether a file name is one of the program's temporary files in any form,
// whatever the case of its letters.
bool is_own_temp_name(const char* name, const char* prefix);

// The step that failed.
enum class ReplaceFailure {
  None,
  PathTooLong,  // the target, or every temporary name beside it, is longer than a path can be
  Protected,    // the target is read-only or a folder: refused before anything is written
  Create,       // no temporary file could be made
  Write,        // the filler or a write failed
  Flush,
  Close,
  Move,         // the temporary file could not take the target's place
};

// The file operations of the sequence. The layer holds the one file being
// written between create_new and close.
struct FileLayer {
  enum class Target { Missing, Writable, Protected };
  enum class Created { Ok, NameTaken, Failed };
  enum class Moved { Ok, Failed, NotImplemented };

  Target (*target)(void* context, const char* path);
  Created (*create_new)(void* context, const char* path);  // never replaces a file
  bool (*write)(void* context, const uint8_t* data, size_t n);
  bool (*flush)(void* context);
  bool (*close)(void* context);
  // Renames from over an existing to; NotImplemented where the system has
  // no such call.
  Moved (*replace)(void* context, const char* from, const char* to);
  bool (*rename)(void* context, const char* from, const char* to);  // to must not exist
  bool (*remove)(void* context, const char* path);
  // Calls each for every entry of folder ("" the current one) whose name
  // starts with prefix.
  void (*list)(void* context, const char* folder, const char* prefix,
               void (*each)(void* eachContext, const char* name, bool isFolder), void* eachContext);
  // Deletes the file only when no program holds it open.
  bool (*remove_unheld)(void* context, const char* path);
  void* context;
};

struct ReplaceRequest {
  const char* target;
  const char* tempPrefix;  // "~kal", "~mrd"
  LeadByteTest isLead;
  uint32_t firstName;  // where the search for a free temporary name starts
  // Writes the new file's bytes; false when it could not.
  bool (*fill)(void* fillContext, fmt::BufferedWriter& out);
  void* fillContext;
};

// Before the new file is made, the program's own temporary files in the
// target's folder that nobody holds open (left by a save that was killed)
// are deleted; no other file is touched.
ReplaceFailure replace_file(const FileLayer& files, const ReplaceRequest& request);

}  // namespace frame
