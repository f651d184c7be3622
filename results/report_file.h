// The files written beside the program for the user to read: the not-found
// report, the per-name statistics and the export of the list. Each is
// written whole and opened with the shell; one that cannot be written is
// told in a message box and nothing is opened, so that an older file of
// that name is never shown as if it were the new one.
#pragma once

#include <string_view>

#include "platform/text/text.h"
#include "results/result_host.h"

namespace tarnwell {

// Writes `bytes` to the program's directory + "\" + fileName and opens it;
// shows `failure` (caption "信息：", OK only) when it cannot be written.
// True when it was written.
bool WriteAndOpenBesideProgram(ResultHost& host, const Text& fileName, std::string_view bytes, const Text& failure);

}  // namespace tarnwell
