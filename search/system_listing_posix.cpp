// POSIX systems read directories of one process side by side.
#include "search/listing_pool.h"

namespace tarnwell {

bool SystemListsOneFolderAtATime() { return false; }

}  // namespace tarnwell
