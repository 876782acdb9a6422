// The program's own folder, and the files a program writes there: each made new, never
// replacing a file that is there and never left half-written.
#ifndef COMMON_OWNFOLDER_H
#define COMMON_OWNFOLDER_H

#include <string>

// The folder of the running program, ending in a backslash, however long its path is; empty
// when the path has no backslash.
std::wstring programFolder();

// Writes the size bytes of data as a new file at path. A file already there is left as it is,
// whatever it holds; a file that can't be written whole is removed again. True when the whole
// file was written.
bool writeNewFile(const std::wstring &path, const void *data, unsigned long size);

#endif
