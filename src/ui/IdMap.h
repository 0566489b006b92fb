#pragma once
// The application's tooltip texts by command or control id: toolbars register
// their buttons' tooltips here, and the main frame answers tooltip requests
// from it.
#include <string>

namespace idMap {

// Adds the text under the id; an id that is already there keeps its first
// text, the failed check is logged, and the result is false.
bool insert(int id, const std::wstring& text);
// The text of the id, empty when there is none.
std::wstring lookup(int id);
// Forgets every text.
void clear();

} // namespace idMap
