// Drives that go away (an SD card or a USB drive ejected): a folder watch
// holds its volume open, so Windows asks the window that registered the
// watch's handle before the volume is removed (DBT_DEVICEQUERYREMOVE); the
// program closes the watches on that volume and lets it go, as Explorer
// does. Wine sends no such messages; the logic behind them is the kept
// folders' DropVolume, which the tests drive directly.
#pragma once

#include <windows.h>

#include "platform/text/text.h"

namespace tarnwell {

// From now on every folder watch armed registers its handle for device
// notifications to `window` (WM_DEVICECHANGE); null stops that.
void NotifyVolumeRemovalTo(HWND window);
HWND VolumeRemovalWindow();

// The drives ("E:") that a WM_DEVICECHANGE says are going or gone: the
// drive of a registered handle asked to be removed or removed, or the
// drives of a volume removed. Empty for any other message.
TextList DrivesGoing(WPARAM event, LPARAM data);

}  // namespace tarnwell
