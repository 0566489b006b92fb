#pragma once
// The program's fixed tooltip and status-bar texts, put into the id map once
// at start-up in the language chosen then.

namespace idMap {

// Inserts the fixed texts, each translated.
void fill();

} // namespace idMap
