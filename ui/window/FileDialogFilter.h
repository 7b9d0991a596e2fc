#pragma once

#include <QStringList>

#include <string>

// The name filters of a file dialog from a filter text written as pairs of a
// description and a pattern list, separated by '|' and ended by "||":
// "Halvex Configuration File (*.hxc) |*.hxc||" gives
// "Halvex Configuration File (*.hxc)". Patterns separated by ';' become one
// filter with several patterns.
QStringList NameFiltersFromFilterText(const std::string& filter);

// The default suffix without its dot and in lower case (".hxc" and "HXC" give
// "hxc"): Linux file names are case-sensitive and every filter pattern is
// lower case, so "exported" is saved as "exported.csv".
QString DefaultSuffix(const std::string& defaultExtension);
