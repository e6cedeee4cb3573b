#pragma once
// File name helpers shared by the windows that save under a name the user chose.

#include <QString>
#include <string>

// The path without the extension of its file name: from the last "." of the
// name; a dot in a folder's name or at the start of the name is no extension.
// "/d/result.old" -> "/d/result"; "/my.files/out" stays; "/d/.profile" stays.
QString WithoutExtension(const QString& path);

// A path as the engine and the file system take it (bytes in the locale's
// encoding), and back.
std::string EnginePath(const QString& path);
QString FromEnginePath(const std::string& path);
