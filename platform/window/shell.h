// The shell: opening documents and programs, and the folder browser. Paths
// and titles are GBK texts. Nothing here shows a message of its own.
#pragma once

#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

// Opens path with its default verb in a normal window, with no owner: a
// document opens in its program, a program is started. The shell takes no
// path of 260 characters or more: a longer one goes by its short 8.3 form
// where the volume has one that fits. False when the path could not be handed
// to the shell that way; what the shell then does with it is its own affair.
bool ShellOpen(std::string_view path);

// Opens path like ShellOpen, with the verb "open", owned by a top-level
// window titled "Microsoft Internet Explorer" when there is one.
bool OpenWithBrowserOwner(std::string_view path);

// Opens the file manager on the folder that holds path, with the file
// selected (SHOpenFolderAndSelectItems; where the shell cannot, explorer.exe
// /select,"path"). The outcome is ignored.
void OpenFolderAndSelect(std::string_view path);

// The system's folder browser with title above its tree: folders only, with
// an edit box for typing a path. While it is open every top-level window of
// the process is disabled; afterwards each gets its enabled state back, the
// window that was in front is brought back and the owner (the window active
// before) is activated again. Gives the chosen folder's path (a drive root
// as "D:\"), or the empty text on cancel or a choice with no file-system path.
Text BrowseForFolder(std::string_view title);

}  // namespace tarnwell
