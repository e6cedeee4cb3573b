#pragma once
// Whether the first line of a sheet names the fields. The delimited-text
// reader decides the same question; this is the one place to change it.
//
// The first line is a header when its values are all texts that are not
// numbers (empty cells aside, at least one text) while a column of the lines
// after it holds numbers only (empty cells aside, at least one number), as the
// delimited-text reader decides (TTextReader). A sheet without such a column
// has no header: its first line is a record, the fields "Champ1", "Champ2"...

#include <string>
#include <vector>

enum class TCellKind : unsigned char { Empty, Number, Text };

// `first`: the kinds of the first line's cells (a text that reads as a number
// counts as Number); `numberColumn`: a column below holds numbers only.
bool IsHeaderRow(const std::vector<TCellKind>& first, bool numberColumn);
