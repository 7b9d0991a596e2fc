#pragma once

#include <QStringList>

#include <string>

// The name filters of a file dialog from a filter text written as pairs of a
// description and a pattern list, separated by '|' and ended by "||":
// "Halvex Configuration File (*.hxc) |*.hxc||" gives
// "Halvex Configuration File (*.hxc)". Patterns separated by ';' become one
// filter with several patterns.
QStringList NameFiltersFromFilterText(const std::string& filter);

// The default suffix without its dot (".hxc" gives "hxc").
QString DefaultSuffix(const std::string& defaultExtension);
