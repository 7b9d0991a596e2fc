#include "ProfileStore.h"

#include "TextConversion.h"
#include "WindowSystem.h"

namespace {

QString Key(const std::string& section, const std::string& key)
{
    return ToQString(section) + QLatin1Char('/') + ToQString(key);
}

}  // namespace

ProfileStore::ProfileStore()
    : settings_(std::make_unique<QSettings>(QString::fromLatin1(kProfileOrganisation),
                                            QString::fromLatin1(kApplicationTitle)))
{
}

ProfileStore::ProfileStore(const QString& fileName)
    : settings_(std::make_unique<QSettings>(fileName, QSettings::IniFormat))
{
}

int ProfileStore::ReadInt(const std::string& section, const std::string& key, int defaultValue) const
{
    bool isNumber = false;
    const int value = settings_->value(Key(section, key)).toInt(&isNumber);
    return isNumber ? value : defaultValue;
}

void ProfileStore::WriteInt(const std::string& section, const std::string& key, int value)
{
    settings_->setValue(Key(section, key), value);
    settings_->sync();
}

std::optional<std::string> ProfileStore::ReadString(const std::string& section, const std::string& key) const
{
    const QVariant value = settings_->value(Key(section, key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    return PathFromQString(value.toString());
}

void ProfileStore::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    settings_->setValue(Key(section, key), PathToQString(value));
    settings_->sync();
}

void ProfileStore::Remove(const std::string& section, const std::string& key)
{
    settings_->remove(Key(section, key));
    settings_->sync();
}
