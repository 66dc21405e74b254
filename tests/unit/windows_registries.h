// What each 32-bit Windows stores under its version keys, as a fresh install
// of it holds them, for the tests of the OS style rules of both programs. The
// decoy values (VersionNumber, CurrentBuildNumber …) are there on purpose: a
// rule that read them instead of the values it should would give another set.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "frame/os_style_logic.h"

namespace registry_samples {

struct Value {
  const char* key;
  const char* name;  // nullptr: the key exists, no value of interest in it
  const char* text;
};

struct Windows {
  const char* system;
  std::vector<Value> values;
};

constexpr const char* kNt = frame::kNtVersionKey;
constexpr const char* kWin = frame::kWindowsVersionKey;

inline const std::vector<Windows>& all() {
  static const std::vector<Windows> samples = {
      {"Windows 95",
       {{kWin, "ProductName", "Microsoft Windows 95"}, {kWin, "Version", "Windows 95"},
        {kWin, "VersionNumber", "4.00.950"}}},
      {"Windows 98",
       {{kWin, "ProductName", "Microsoft Windows 98"}, {kWin, "Version", "Windows 98"},
        {kWin, "VersionNumber", "4.10.1998"}}},
      // Second Edition keeps the product name and changes the number only.
      {"Windows 98 SE",
       {{kWin, "ProductName", "Microsoft Windows 98"}, {kWin, "Version", "Windows 98"},
        {kWin, "VersionNumber", "4.10.2222"}}},
      // Installers of NT-aware programs may leave an NT key without a version.
      {"Windows 98 SE with an NT key left by an installer",
       {{kNt, nullptr, nullptr}, {kWin, "ProductName", "Microsoft Windows 98"}, {kWin, "Version", "Windows 98"},
        {kWin, "VersionNumber", "4.10.2222"}}},
      {"Windows ME",
       {{kWin, "ProductName", "Microsoft Windows ME"}, {kWin, "Version", "Windows Millennium Edition"},
        {kWin, "VersionNumber", "4.90.3000"}}},
      {"Windows NT 4.0",
       {{kNt, "CurrentVersion", "4.0"}, {kNt, "CurrentBuildNumber", "1381"}, {kWin, nullptr, nullptr}}},
      {"Windows 2000",
       {{kNt, "CurrentVersion", "5.0"}, {kNt, "CurrentBuildNumber", "2195"},
        {kNt, "ProductName", "Microsoft Windows 2000"}, {kWin, nullptr, nullptr}}},
      {"Windows XP",
       {{kNt, "CurrentVersion", "5.1"}, {kNt, "CurrentBuildNumber", "2600"},
        {kNt, "ProductName", "Microsoft Windows XP"}, {kWin, nullptr, nullptr}}},
      {"Windows Vista",
       {{kNt, "CurrentVersion", "6.0"}, {kNt, "CurrentBuildNumber", "6002"},
        {kNt, "ProductName", "Windows Vista (TM) Business"}, {kWin, nullptr, nullptr}}},
      {"Windows 7",
       {{kNt, "CurrentVersion", "6.1"}, {kNt, "CurrentBuildNumber", "7601"},
        {kNt, "ProductName", "Windows 7 Professional"}, {kWin, nullptr, nullptr}}},
      // Windows 10 keeps "6.3" (of 8.1) in CurrentVersion for old programs;
      // its 10 is only in the number value CurrentMajorVersionNumber.
      {"Windows 10",
       {{kNt, "CurrentVersion", "6.3"}, {kNt, "CurrentBuildNumber", "19045"}, {kNt, "ProductName", "Windows 10 Pro"},
        {kWin, nullptr, nullptr}}},
      // A registry that refuses both keys leaves the style as it was.
      {"no readable version key", {}},
  };
  return samples;
}

// A registry reader over one sample, as the programs read the real one.
inline frame::RegistryRead read(const void* context, const char* key, const char* name, char (&text)[256]) {
  const auto& sample = *static_cast<const Windows*>(context);
  bool keyFound = false;
  for (const Value& v : sample.values) {
    if (std::strcmp(v.key, key) != 0) continue;
    keyFound = true;
    if (v.name && std::strcmp(v.name, name) == 0) {
      std::snprintf(text, sizeof text, "%s", v.text);
      return frame::RegistryRead::Read;
    }
  }
  return keyFound ? frame::RegistryRead::NoValue : frame::RegistryRead::NoKey;
}

// What a program's table expects of one system.
struct Expected {
  const char* system;
  int style;
  const char* suffix;
};

constexpr int kUnchanged = -1;  // what the style was before the reading

// One program's table, a row for every sample: the style its rule (nullptr:
// the shared one) reads from that system, and the button set of that style;
// also(row, style) checks what else the program takes from the style.
template <size_t N, typename Also>
void expect_each_windows(const Expected (&table)[N], frame::NtVersionRule rule, const char* (*suffix)(int),
                         Also also) {
  ASSERT_EQ(N, all().size()) << "every sample has its row";
  for (const Expected& row : table) {
    SCOPED_TRACE(row.system);
    const Windows* sample = nullptr;
    for (const Windows& w : all())
      if (std::strcmp(row.system, w.system) == 0) sample = &w;
    ASSERT_NE(sample, nullptr) << "no sample of this name";
    const int style = frame::style_from_registry(read, sample, rule, kUnchanged);
    EXPECT_EQ(style, row.style);
    EXPECT_STREQ(suffix(style), row.suffix);
    also(row, style);
  }
}

}  // namespace registry_samples
