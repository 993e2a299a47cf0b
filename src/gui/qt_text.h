#pragma once

#include <QFile>
#include <QString>
#include <string>
#include <string_view>

namespace tralvo {

// The catalogue is UTF-8; its CR LF line breaks become the one line break Qt draws.
inline QString CatalogueText(std::string_view text) {
    QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

// File names and paths as the file system holds them, to and from what Qt shows.
inline QString PathText(const std::string& path) {
    return QFile::decodeName(
        QByteArray::fromRawData(path.data(), static_cast<qsizetype>(path.size())));
}
inline std::string PathBytes(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace tralvo
