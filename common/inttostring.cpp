#include "inttostring.h"

#include <sstream>

void IntToString(int number)
{
    std::ostringstream text;
    text << number;
    gameCount = text.str();
}
