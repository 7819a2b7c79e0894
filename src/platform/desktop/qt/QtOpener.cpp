#include "platform/desktop/qt/QtOpener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace vantrel {

bool QtOpener::OpenDocument(const std::filesystem::path& file) {
    // fromLocalFile percent-encodes blanks and apostrophes, which a plain QUrl would misread.
    return QDesktopServices::openUrl(
        QUrl::fromLocalFile(QString::fromStdU16String(file.u16string())));
}

bool QtOpener::OpenAddress(const std::string& address) {
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    if (!url.isValid()) return false;
    return QDesktopServices::openUrl(url);
}

}  // namespace vantrel
