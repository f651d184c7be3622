// The program-wide lists: created empty before the main window exists and
// released once the message loop has ended, when no handler can use them any
// more. Each search replaces its lists whole; the results live only in the
// ResultList of the main window, the settings only in the controls and the
// settings file.
#pragma once

#include "platform/text.h"

namespace tarnwell {

struct ProgramState {
  TextList rawNameLines;       // the names box split into lines
  TextList nameList;           // the wanted names of the last search
  TextList rootList;           // the folders the last search walks
  TextList reportWantedLines;  // the not-found report's wanted lines
  Text reportFoundNames;       // the not-found report's found names
};

}  // namespace tarnwell
