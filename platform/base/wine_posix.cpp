#include "platform/base/wine.h"

namespace tarnwell {

bool RunsUnderWine() { return false; }

}  // namespace tarnwell
