#pragma once
// File name helpers shared by the windows that save under a name the user chose.

#include <QString>

// The path without the extension of its file name: from the last "." of the
// name; a dot in a folder's name or at the start of the name is no extension.
// "/d/result.old" -> "/d/result"; "/my.files/out" stays; "/d/.profile" stays.
QString WithoutExtension(const QString& path);
