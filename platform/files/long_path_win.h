// Paths handed to the wide Win32 file functions. A path of the program (a Text,
// "\" separators, maybe relative or holding "\\" after a drive root) becomes
// the full path; when that is too long for the classic limit it gets the
// "\\?\" form, which lifts the limit. Callers never see that form.
#pragma once

#include <string>
#include <string_view>

namespace tarnwell {

std::wstring Win32PathOf(std::string_view path);

// The "\\?\" form of a full path ("\\server" becomes "\\?\UNC\server"),
// which the file functions take at any length; a path in that form already
// stays as it is.
std::wstring LongFormOf(const std::wstring& full);

// The path in upper case as the file system compares names, whatever the
// user's language; empty when the system cannot fold it.
std::wstring FoldedCaseOf(std::wstring_view path);

// True when nothing is at the full path: a path that cannot be looked at
// (no rights, an invalid name) is not taken for an empty one.
bool NothingAt(const std::wstring& full);

// The same path without the "\\?\" form ("\\?\UNC\server" becomes
// "\\server"), for what takes only plain paths (the shell) and for comparing.
std::wstring PlainPathOf(std::wstring path);

}  // namespace tarnwell
