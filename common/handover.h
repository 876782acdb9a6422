// The ways a picture file is handed to a program besides its own open-file dialog: named on
// its command line (opened with the program, or dropped on its icon) and dropped on its
// window; and the dialog's choice of files.
#ifndef COMMON_HANDOVER_H
#define COMMON_HANDOVER_H

#include <windows.h>
#include <shellapi.h>

#include <string>

// The open-file dialogs' filter: all the pictures first, then BMP files alone.
const wchar_t PICTURE_FILTER[] = L"Pictures (*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff)\0"
                                 L"*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff\0"
                                 L"Bmp File (*.bmp)\0*.bmp\0";

// The file named on the program's command line (its arguments, after the program's own
// name), quotes taken off, as a full path; empty when none is named or it is no file.
std::wstring commandLinePicture(const wchar_t *commandLine);

// The first file of a drop on a window, as a full path, and the drop let go; empty when
// it is a folder.
std::wstring droppedFile(HDROP drop);

#endif
