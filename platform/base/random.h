// The random figure of the search's progress text. Each thread draws from its
// own generator; seeds come from the millisecond tick count plus one
// process-wide counter, so two seeds taken within the same millisecond differ.
#pragma once

namespace tarnwell {

void SeedRandom();
// A whole number in [low, high]; negative bounds count as 0, swapped bounds are put in order.
int RandomInRange(int low, int high);

}  // namespace tarnwell
