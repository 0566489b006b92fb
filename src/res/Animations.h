#pragma once

namespace res {

// Registers the animations that the windows' animation controls open.
void registerAnimations();

} // namespace res
