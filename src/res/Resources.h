#pragma once
// The program's own resources: dialog templates (one table per dialog),
// registered in the resource store by type and id.

namespace res {

// Registers every resource; calling it again changes nothing.
void registerResources();

} // namespace res
