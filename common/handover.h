// The ways a picture file is handed to a program besides its own open-file dialog: named on
// its command line (opened with the program, or dropped on its icon) and dropped on its
// window; and the dialog's choice of files.
#ifndef COMMON_HANDOVER_H
#define COMMON_HANDOVER_H

#include <windows.h>
#include <shellapi.h>

#include <string>

// The open-file dialogs' filter: all the pictures first, then BMP files alone.
const char PICTURE_FILTER[] = "Pictures (*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff)\0"
                              "*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff\0"
                              "Bmp File (*.bmp)\0*.bmp\0";

// The file named on the program's command line, quotes taken off, as a full path; empty when
// none is named or it is no file.
std::string commandLinePicture(const char *commandLine);

// The first file of a drop on a window, as a full path, and the drop let go; empty when
// it is a folder.
std::string droppedFile(HDROP drop);

#endif
