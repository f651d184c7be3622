// The container frames of the form (外形框): a one-pixel solid black outline
// along the inside of the control's bounds on the button face, no caption.
// A frame holds a radio pair; the buttons' notifications and colour requests
// go on to the frame's parent, as if the buttons sat on it directly.
#pragma once

#include <windows.h>

namespace tarnwell {

// Registers the frame's window class (kFrameClass) once per process.
bool RegisterFrameClass(HINSTANCE instance);

}  // namespace tarnwell
