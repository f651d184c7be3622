// A fresh folder under the system's temporary folder for one test, removed
// with everything in it (long paths too) when the test ends. The helpers here
// use the wide Win32 functions directly, so that tests check the program's
// file code against something other than itself.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/text/text.h"

namespace tarnwell::testing_support {

class TemporaryFolder {
 public:
  // `name` (GBK) becomes part of the folder's name.
  explicit TemporaryFolder(std::string_view name = "tarnwell");
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  ~TemporaryFolder();

  // The folder's full path, GBK, without a trailing "\".
  const Text& path() const { return path_; }
  // path() + "\" + name.
  Text operator/(std::string_view name) const;

 private:
  Text path_;
};

// The "\\?\" form of a full GBK path, which every wide file function takes at any length.
std::wstring LongForm(std::string_view gbkPath);

// Holds a file open the way another program may, sharing nothing: no other
// handle can read, write, rename or delete it until it is released.
class HeldFile {
 public:
  explicit HeldFile(const Text& path);
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  ~HeldFile() { Release(); }
  bool ok() const { return file_ != INVALID_HANDLE_VALUE; }
  void Release();

 private:
  HANDLE file_;
};

bool Exists(std::string_view gbkPath);
bool IsFolder(std::string_view gbkPath);
// The whole content of a file; "(unreadable)" when it cannot be read.
std::string FileBytes(std::string_view gbkPath);
// Creates or replaces the file with these bytes.
void PutFile(std::string_view gbkPath, std::string_view bytes);
void MakeFolder(std::string_view gbkPath);
// Removes a folder ("\\?\" form) and everything in it, read-only entries too.
void RemoveTree(const std::wstring& longPath);
// The names in a folder, "." and ".." left out, in listing order.
TextList FolderNames(std::string_view gbkPath);

}  // namespace tarnwell::testing_support
