#pragma once

#include <QFile>
#include <QString>

#include <string>

// The configuration and its files hold 8-bit text; the window shows it as
// Latin-1, one character per byte, so that every byte survives a round trip.
inline QString ToQString(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToLatin1(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// File names are in the file system's encoding, not in the files' 8-bit text.
inline QString PathToQString(const std::string& path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

inline std::string PathFromQString(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Message texts are fixed ASCII texts, some with a file name in them: UTF-8
// when the bytes are valid UTF-8, else Latin-1.
QString MessageToQString(const std::string& text);
