// Whether the program runs under Wine, for the few places where Wine's
// answers differ from Windows' in ways the program must allow for (how it
// lists folders side by side, how its change watches name renamed folders).
#pragma once

namespace tarnwell {

// Known by the export Wine adds to its ntdll; false on every other system.
bool RunsUnderWine();

}  // namespace tarnwell
