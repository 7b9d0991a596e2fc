#include "FileDialogFilter.h"

#include "TextConversion.h"

QStringList NameFiltersFromFilterText(const std::string& filter)
{
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' ')).trimmed();
        if (patterns.isEmpty()) {
            continue;
        }
        const QString shownPatterns = QStringLiteral("(") + patterns + QStringLiteral(")");
        if (description.isEmpty()) {
            nameFilters << shownPatterns;
        } else if (description.endsWith(shownPatterns)) {
            nameFilters << description;
        } else {
            nameFilters << description + QLatin1Char(' ') + shownPatterns;
        }
    }
    return nameFilters;
}

QString DefaultSuffix(const std::string& defaultExtension)
{
    QString suffix = ToQString(defaultExtension).toLower();
    while (suffix.startsWith(QLatin1Char('.'))) {
        suffix.remove(0, 1);
    }
    return suffix;
}
