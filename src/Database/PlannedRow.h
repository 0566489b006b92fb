#pragma once
// A stored Session row as a caller read it before it started a recording or
// opened an editor on it: what the changes made since are measured from,
// and which of its texts are only this station's reading of what is stored.
#include "Database/SessionRecord.h"

#include <string>
#include <utility>
#include <vector>

class Database;

struct PlannedRow {
    SessionRecord row;
    // {column, stored text (UTF-8)} of each text of `row` that holds the
    // code page's default character for a letter this station cannot show;
    // the stored text is empty when it is no longer known. Writing such a
    // text back would store the reading ("??"), not the name.
    std::vector<std::pair<std::string, std::string>> unshownTexts;

    // The stored text of `column` when `row` holds only a reading of it.
    const std::pair<std::string, std::string>* unshown(const std::string& column) const;
};

// `read` with the texts that the stored row of its serial shows otherwise
// than read here. A text with the default character counts as unshown unless
// the row, read as stored, proves it is that very text; so does every such
// text when the row cannot be read.
PlannedRow readPlannedRow(Database& db, const SessionRecord& read);

// The names of the text columns that readPlannedRow looks at, with their members.
const std::vector<std::pair<const char*, std::string SessionRecord::*>>& plannedTextColumns();
