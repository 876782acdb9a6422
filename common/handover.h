// The ways a picture file is handed to a program besides its own open-file dialog: named on
// its command line (opened with the program, or dropped on its icon) and dropped on its
// window; and the dialog's choice of files.
#ifndef COMMON_HANDOVER_H
#define COMMON_HANDOVER_H

#include <windows.h>
#include <shellapi.h>

#include <string>

// The open-file dialogs' filter: first every picture this machine decodes, "Pictures (*.bmp;
// *.png;...)": BMP files and the file extensions of the imaging component's decoders, read as the
// program runs, so that a Windows with the WebP, HEIF or AVIF codecs installed offers those files
// too; then BMP files alone. Each text ends in a zero, and the filter in two.
std::wstring pictureFilter();

// The file named on the program's command line (its arguments, after the program's own
// name), quotes taken off, as a full path; empty when none is named or it is no file.
std::wstring commandLinePicture(const wchar_t *commandLine);

// The first file of a drop on a window, as a full path, and the drop let go; empty when
// it is a folder.
std::wstring droppedFile(HDROP drop);

#endif
