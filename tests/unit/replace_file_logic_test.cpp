// The file replacement of both programs over a file layer in memory that
// fails where a case says: whatever fails, the target keeps its bytes and no
// temporary file stays; the naming rule of the temporary files.
#include "frame/replace_file_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Entry {
  Bytes bytes;
  bool readOnly = false;
  bool folder = false;
  bool held = false;  // open in another program
};

// A folder tree as a map of full paths. Each operation named in `failing`
// fails; "replace-missing" makes the system lack the replacing rename, and
// "rename#N" fails the N-th plain rename only.
struct MemoryFiles {
  std::map<std::string, Entry> entries;
  std::set<std::string> failing;
  std::string open;  // the file being written
  int creates = 0, renames = 0;

  bool fails(const std::string& op) const { return failing.count(op) != 0; }

  static MemoryFiles& of(void* c) { return *static_cast<MemoryFiles*>(c); }

  static frame::FileLayer::Target target(void* c, const char* path) {
    const auto it = of(c).entries.find(path);
    if (it == of(c).entries.end()) return frame::FileLayer::Target::Missing;
    return it->second.readOnly || it->second.folder ? frame::FileLayer::Target::Protected
                                                    : frame::FileLayer::Target::Writable;
  }
  static frame::FileLayer::Created create_new(void* c, const char* path) {
    MemoryFiles& m = of(c);
    ++m.creates;
    if (m.fails("create")) return frame::FileLayer::Created::Failed;
    if (m.entries.count(path)) return frame::FileLayer::Created::NameTaken;
    m.entries[path] = Entry{};
    m.open = path;
    return frame::FileLayer::Created::Ok;
  }
  static bool write(void* c, const uint8_t* data, size_t n) {
    MemoryFiles& m = of(c);
    if (m.fails("write")) return false;
    Bytes& b = m.entries.at(m.open).bytes;
    b.insert(b.end(), data, data + n);
    return true;
  }
  static bool flush(void* c) { return !of(c).fails("flush"); }
  static bool close(void* c) {
    of(c).open.clear();
    return !of(c).fails("close");
  }
  static bool can_rename_over(const Entry& e) { return !e.held && !e.readOnly && !e.folder; }
  static frame::FileLayer::Moved replace(void* c, const char* from, const char* to) {
    MemoryFiles& m = of(c);
    if (m.fails("replace-missing")) return frame::FileLayer::Moved::NotImplemented;
    const auto old = m.entries.find(to);
    if (m.fails("replace") || (old != m.entries.end() && !can_rename_over(old->second)))
      return frame::FileLayer::Moved::Failed;
    m.entries[to] = m.entries.at(from);
    m.entries.erase(from);
    return frame::FileLayer::Moved::Ok;
  }
  static bool rename(void* c, const char* from, const char* to) {
    MemoryFiles& m = of(c);
    ++m.renames;
    if (m.fails("rename#" + std::to_string(m.renames)) || m.entries.count(to) || !m.entries.count(from) ||
        m.entries.at(from).held)
      return false;
    m.entries[to] = m.entries.at(from);
    m.entries.erase(from);
    return true;
  }
  static bool remove(void* c, const char* path) { return of(c).entries.erase(path) == 1; }
  static void list(void* c, const char* folder, const char* prefix, void (*each)(void*, const char*, bool),
                   void* eachContext) {
    // Names match as the system's do, without regard to case.
    const auto lower = [](std::string t) {
      for (char& ch : t) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      return t;
    };
    const std::string start = lower(std::string(folder) + prefix);
    std::vector<std::pair<std::string, bool>> found;  // the callback may delete
    for (const auto& [path, e] : of(c).entries) {
      if (lower(path).compare(0, start.size(), start) != 0) continue;
      const std::string name = path.substr(std::string(folder).size());
      if (name.find('\\') == std::string::npos) found.emplace_back(name, e.folder);
    }
    for (const auto& [name, isFolder] : found) each(eachContext, name.c_str(), isFolder);
  }
  static bool remove_unheld(void* c, const char* path) {
    MemoryFiles& m = of(c);
    return !m.entries.at(path).held && m.entries.erase(path) == 1;
  }

  frame::FileLayer layer() {
    return {target, create_new, write, flush, close, replace, rename, remove, list, remove_unheld, this};
  }

  // Runs the sequence with a filler writing bytes (or failing when empty).
  frame::ReplaceFailure save(const std::string& target, const Bytes& bytes, uint32_t firstName = 0x1234) {
    const frame::FileLayer files = layer();
    frame::ReplaceRequest request{target.c_str(), "~kal", nullptr, firstName,
                                  [](void* b, fmt::BufferedWriter& out) {
                                    const Bytes& data = *static_cast<const Bytes*>(b);
                                    out.put(data.data(), data.size());
                                    return !data.empty();
                                  },
                                  const_cast<Bytes*>(&bytes)};
    return frame::replace_file(files, request);
  }

  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& [path, e] : entries) out.push_back(path);
    return out;
  }
};

const Bytes kOld = {'o', 'l', 'd'};
const Bytes kNew = {'n', 'e', 'w', '!'};

TEST(ReplaceFile, EveryFailureKeepsTheTargetAndLeavesNoTemporaryFile) {
  using F = frame::ReplaceFailure;
  const std::string target = "C:\\pics\\a.tif";
  struct Case {
    const char* what;
    std::set<std::string> failing;
    bool exists, readOnly, folder, held;
    Bytes bytes;
    F want;
    int creates;  // 0: refused before any file is made
  };
  const Case cases[] = {
      {"replaced", {}, true, false, false, false, kNew, F::None, 1},
      {"new file", {}, false, false, false, false, kNew, F::None, 1},
      {"read-only target", {}, true, true, false, false, kNew, F::Protected, 0},
      {"a folder of that name", {}, true, false, true, false, kNew, F::Protected, 0},
      {"create fails", {"create"}, true, false, false, false, kNew, F::Create, 1},
      {"filler fails", {}, true, false, false, false, {}, F::Write, 1},
      {"write fails", {"write"}, true, false, false, false, kNew, F::Write, 1},
      {"flush fails", {"flush"}, true, false, false, false, kNew, F::Flush, 1},
      {"close fails", {"close"}, true, false, false, false, kNew, F::Close, 1},
      {"move fails", {"replace"}, true, false, false, false, kNew, F::Move, 1},
      {"target held open", {}, true, false, false, true, kNew, F::Move, 1},
      // Systems without the replacing rename: the old file goes aside, the
      // new one takes its place, and the old one comes back on a failure.
      {"fallback replaces", {"replace-missing"}, true, false, false, false, kNew, F::None, 1},
      {"fallback, new file", {"replace-missing"}, false, false, false, false, kNew, F::None, 1},
      {"fallback, old file cannot move aside", {"replace-missing"}, true, false, false, true, kNew, F::Move, 1},
      {"fallback, new file cannot move in", {"replace-missing", "rename#2"}, true, false, false, false, kNew,
       F::Move, 1},
      {"fallback, first aside name fails", {"replace-missing", "rename#1"}, true, false, false, false, kNew,
       F::None, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFiles m;
    m.entries["C:\\pics\\b.tif"] = Entry{kOld};
    if (c.exists) m.entries[target] = Entry{kOld, c.readOnly, c.folder, c.held};
    m.failing = c.failing;
    EXPECT_EQ(m.save(target, c.bytes), c.want);
    EXPECT_EQ(m.creates, c.creates);
    EXPECT_TRUE(m.open.empty()) << "the file written is closed";
    std::vector<std::string> want = {"C:\\pics\\b.tif"};
    if (c.exists || c.want == F::None) want.insert(want.begin(), target);
    EXPECT_EQ(m.names(), want) << "no temporary file stays";
    if (c.want == F::None) {
      EXPECT_EQ(m.entries.at(target).bytes, kNew);
    } else if (c.exists) {
      EXPECT_EQ(m.entries.at(target).bytes, kOld);
    }
    EXPECT_EQ(m.entries.at("C:\\pics\\b.tif").bytes, kOld);
  }
  // A folder too deep for any temporary name, or a target longer than a
  // path can be, is refused before anything is made.
  for (const std::string& deep : {"C:\\" + std::string(252, 'd') + "\\a.tif", "C:\\" + std::string(260, 'n')}) {
    MemoryFiles m;
    EXPECT_EQ(m.save(deep, kNew), F::PathTooLong);
    EXPECT_EQ(m.creates, 0);
  }
}

TEST(ReplaceFile, TemporaryNamesFitTheFolderAndOnlyOursAreCleanedUp) {
  // The usual name while it fits, then shorter ones, then none.
  struct Fit {
    size_t folderBytes;
    const char* name;  // number 0x1A2B; null: the path is too long
  };
  const Fit fits[] = {{3, "~kal1A2B.tmp"},  {247, "~kal1A2B.tmp"}, {248, "~kal1A2B"}, {251, "~kal1A2B"},
                      {252, "~kalA2B"},     {254, "~kalB"},        {255, nullptr},     {300, nullptr}};
  for (const Fit& f : fits) {
    SCOPED_TRACE(f.folderBytes);
    frame::TempNameForm form;
    ASSERT_EQ(frame::temp_name_form(f.folderBytes, 4, &form), f.name != nullptr);
    if (!f.name) continue;
    char name[64];
    ASSERT_TRUE(frame::temp_name("~kal", form, 0x1A2B, name, sizeof name));
    EXPECT_EQ(std::string(name), f.name);
    EXPECT_LE(f.folderBytes + std::strlen(name), frame::kLongestPath);
    EXPECT_TRUE(frame::is_own_temp_name(name, "~kal"));
  }

  // Which names are ours: the other program's, a longer number, another
  // extension or other letters are someone else's.
  struct Name {
    const char* name;
    bool ours;
  };
  const Name names[] = {{"~kal1A2B.tmp", true}, {"~KAL00ff.TMP", true},  {"~kal7", true},
                        {"~kal12345.tmp", false}, {"~kal1234.tmp.txt", false}, {"~kal1234.bak", false},
                        {"~kalendar.tmp", false}, {"~kal.tmp", false},   {"~mrd1A2B.tmp", false},
                        {"kal1A2B.tmp", false},   {"~ka", false}};
  for (const Name& n : names) EXPECT_EQ(frame::is_own_temp_name(n.name, "~kal"), n.ours) << n.name;

  // Before a save the stale temporary files of ours go; one held open, a
  // folder, foreign names, one in another folder and the chosen target
  // itself stay, and a number that is held is passed over. A folder so deep
  // that only the short form fits is cleaned by the same rule.
  struct Folder {
    std::string path, held;
  };
  const Folder folders[] = {{"C:\\pics\\", "~kal0001.tmp"}, {"C:\\" + std::string(246, 'd') + "\\", "~kal0001"}};
  for (const Folder& f : folders) {
    SCOPED_TRACE(f.path.size());
    MemoryFiles m;
    const std::vector<std::string> kept = {f.held, "~kal0004", "~kal12345", "~kalenda", "~mrd0003", "~KAL0007"};
    for (const std::string& name : kept) m.entries[f.path + name] = Entry{kOld};
    m.entries[f.path + f.held].held = true;
    m.entries[f.path + "~kal0004"].folder = true;
    m.entries["C:\\other\\~kal0005.tmp"] = Entry{kOld};
    for (const char* stale : {"~kal0006", "~kal3"}) m.entries[f.path + stale] = Entry{kOld};
    const std::string target = f.path + "~KAL0007";
    m.failing = {"write"};
    EXPECT_EQ(m.save(target, kNew, 0x0001), frame::ReplaceFailure::Write);
    EXPECT_EQ(m.entries.at(target).bytes, kOld) << "a target of such a name is never cleaned away";
    m.failing.clear();
    m.creates = 0;
    EXPECT_EQ(m.save(target, kNew, 0x0001), frame::ReplaceFailure::None);
    EXPECT_EQ(m.creates, 2);
    std::vector<std::string> want = {"C:\\other\\~kal0005.tmp"};
    for (const std::string& name : kept) want.push_back(f.path + name);
    std::sort(want.begin(), want.end());
    EXPECT_EQ(m.names(), want);
    EXPECT_EQ(m.entries.at(target).bytes, kNew);
  }
}

}  // namespace
