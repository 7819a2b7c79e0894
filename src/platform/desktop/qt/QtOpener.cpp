#include "platform/desktop/qt/QtOpener.h"

#include <QByteArray>
#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include <type_traits>

namespace vantrel {

namespace {

// Blanks and apostrophes percent-encoded, which a plain QUrl would misread. Where paths are
// bytes, the bytes themselves are encoded: a folder name that is not UTF-8 (as unzip leaves
// names from Windows) has no QString, and the opener is handed the encoded address.
QUrl FileAddress(const std::filesystem::path& file) {
    if constexpr (std::is_same_v<std::filesystem::path::value_type, char>)
        return QUrl::fromEncoded("file://" +
                                 QByteArray::fromStdString(file.native()).toPercentEncoding("/"));
    else
        return QUrl::fromLocalFile(QString::fromStdU16String(file.u16string()));
}

}  // namespace

bool QtOpener::OpenDocument(const std::filesystem::path& file) {
    return QDesktopServices::openUrl(FileAddress(file));
}

bool QtOpener::OpenAddress(const std::string& address) {
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    if (!url.isValid()) return false;
    return QDesktopServices::openUrl(url);
}

}  // namespace vantrel
