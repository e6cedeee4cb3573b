#pragma once
// TView: the three views of a document window, each on its own page: the
// table view (one record per grid row), the column view (the current record,
// one field per row) and the form view (the record form). None: no page shown.

enum class TView { None, Table, Column, Form };
