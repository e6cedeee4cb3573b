#pragma once
// Whether the first line of a sheet names the fields. The delimited-text
// reader decides the same question; this is the one place to change it.
//
// The first line is a header when its values are all texts that are not
// numbers (empty cells aside, at least one text) while the lines after it hold
// a number in some column. A sheet without any number thus has no header:
// its first line is a record, and the fields are named after the columns.

#include <string>
#include <vector>

enum class TCellKind : unsigned char { Empty, Number, Text };

// `first`: the kinds of the first line's cells (a text that reads as a number
// counts as Number); `laterNumbers`: a later line holds a number.
bool IsHeaderRow(const std::vector<TCellKind>& first, bool laterNumbers);

// The name of a field without a header: the column's letters, "A" to "XFD".
std::string ColumnName(unsigned column);
