// Decimal text of a number, left in the program's global gameCount.
#ifndef COMMON_INTTOSTRING_H
#define COMMON_INTTOSTRING_H

#include <string>

// Each program defines its own gameCount: the moves field's text in the game,
// the number in a saved file's name in the resizer.
extern std::string gameCount;

// Replaces gameCount with the decimal text of number (a minus sign when negative).
void IntToString(int number);

// Text of plain ASCII characters (a number, a time) as a wide string, for the window's fields
// and for file names.
std::wstring wideText(const std::string &text);

#endif
