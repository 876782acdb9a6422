// Steps shared by the resizer's end-to-end tests: starting Pixelhem, its controls, choosing
// a picture, reading what it saved, the beeps it gave, and pictures made for the tests.
#ifndef E2E_RESIZER_STEPS_H
#define E2E_RESIZER_STEPS_H

#include <string>
#include <vector>

#include "driver.h"

namespace resizer {

// Control ids of the Pixelhem window.
const int PREVIEW = 450;
const int SAVE_BMP = 550;
const int GET_PREVIEW = 650;
const int MINIMISE = 150;
const int CLOSE = 300;

// Sounds: the click of Get Preview and Save .Bmp, the blip of Minimise.
const int CLICK_WAVE = 900;
const int BLIP_WAVE = 950;

const unsigned long SAVED_FILE_SIZE = 110646;

// Starts pixelhem.exe (option --pixelhem) in folder and waits for its window.
// False (with a failure reported) when it did not come up.
bool startResizer(e2e::Program &program, const std::string &folder,
                  const e2e::StartOptions &options = e2e::StartOptions());

// The control with this id; a failure is reported when it is missing.
HWND control(const e2e::Program &program, int id);

// Get Preview, then the path typed into the open-file dialog and OK. True when the
// dialog opened and closed again and the command has finished.
bool choosePicture(e2e::Program &program, const std::string &path);

// Waits until the program has handled everything sent to it so far.
bool settle(const e2e::Program &program);

// Names of the files in folder whose names start with "Snowquill_Image", sorted. Read with
// the wide file functions, so that folders with very long paths can be listed too.
std::vector<std::string> savedNames(const std::string &folder);
// Whether any entry of that name is in folder (wide functions, long paths allowed).
bool entryExists(const std::string &folder, const std::string &name);

// The sounds since the last call, each checked to be played from the program's own
// resources, asynchronously (SND_RESOURCE | SND_ASYNC); returns their ids ("900 950").
std::string newSoundIds(e2e::Program &program);

// Beeps of the display (MessageBeep) recorded so far in the file of option --bells, or -1
// when the test runs without that recording.
int bellCount();
// Waits up to timeoutMs for the count to pass before; true when it did. Without the
// recording it reports nothing and returns true.
bool bellAfter(int before, int timeoutMs = 3000);
// True when no further bell arrives within durationMs (or without the recording).
bool noBellAfter(int before, int durationMs = 700);

// Asks the host side (option --requests) to limit the size of the files written by every
// process whose command line contains needle; their writes beyond bytes then come back
// short. Returns how many processes were limited, or -1 when the test runs without the
// host side or it did not answer.
int limitFileSize(const std::string &needle, unsigned long bytes);

// The 54 header bytes every saved 192 x 192 picture must start with, written out byte by
// byte from the BMP layout.
std::string expectedSavedHeader();

// A test picture: a grid of cols x rows solid blocks, each block a colour of its own, the
// whole width x height. The colour of block (c, r) is blockColour(c, r).
e2e::Image blockPicture(int width, int height, int cols, int rows);
uint32_t blockColour(int col, int row);

// The reference stretch of a picture onto width x height: each target pixel is the
// average of the source pixels under it (the smoothing a halftone stretch gives).
e2e::Image averageStretch(const e2e::Image &source, int width, int height);

// The pixel rows of a saved file (everything after the header).
std::string pixelPart(const std::string &file);

} // namespace resizer

#endif
