#include "RegionalSeparators.h"

std::string ListSeparatorFor(const std::string& decimalSeparator) { return decimalSeparator == "," ? ";" : ","; }
