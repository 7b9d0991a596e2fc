#include "LocalTime.h"

#include <iomanip>
#include <locale>
#include <sstream>

std::string FormatTimeC(const char* format, const std::tm& time)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::put_time(&time, format);
    return out.str();
}
