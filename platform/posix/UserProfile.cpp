#include "ProfileReader.h"

#include "Environment.h"

// Where QSettings keeps the organisation's and application's INI file.
ProfileReader ProfileReader::UserProfile()
{
    std::string base;
    if (const auto config = EnvironmentValue("XDG_CONFIG_HOME"); config && !config->empty() && config->front() == '/') {
        base = *config;
    } else if (const auto home = EnvironmentValue("HOME"); home && !home->empty()) {
        base = *home + "/.config";
    } else {
        return FromIniText({});
    }
    return FromIniFile(base + "/Vantrel Substation/Halvex Configuration Tool.conf");
}
