#include "inttostring.h"

#include <sstream>

void IntToString(int number)
{
    std::ostringstream text;
    text << number;
    gameCount = text.str();
}

std::wstring wideText(const std::string &text)
{
    return std::wstring(text.begin(), text.end());
}
