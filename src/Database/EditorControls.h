#pragma once

namespace recordEditor {

// The controls every record editor has, by id.
enum EditorControl : int {
    idNew = 1112,
    idDelete = 1113,
    idSave = 1114,
    idDiscard = 1115,
    idNext = 1116,
    idPrevious = 1117,
    idFirst = 1126,
    idLast = 1127,
    idQuickFind = 1242,
    idHelp = 32800,
};

} // namespace recordEditor
