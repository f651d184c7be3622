#include "platform/base/failure.h"

#include "platform/base/system_error_win.h"

namespace tarnwell {

Text SystemMessage(std::uint32_t code) { return SystemErrorMessage(static_cast<DWORD>(code)); }

}  // namespace tarnwell
