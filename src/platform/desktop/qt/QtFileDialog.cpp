#include "platform/desktop/qt/QtFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>
#include <QUrl>

#include "platform/desktop/qt/FrontWindow.h"

namespace vantrel {

QtFileDialog::QtFileDialog(QWidget* owner) : owner_(owner) {}

QString QtFileDialog::NameFilter(const FileFilter& filter) {
    // Windows separates patterns with ';', Qt with blanks.
    QString patterns = QString::fromStdString(filter.pattern);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    patterns = patterns.simplified();
    const QString description = QString::fromStdString(filter.description).trimmed();
    if (description.isEmpty()) return patterns;
    return description + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

void QtFileDialog::Configure(QFileDialog& dialog, const FileDialogRequest& request,
                             std::uint32_t flags) {
    if (request.open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if ((flags & kDialogAllowMultiSelect) != 0)
            dialog.setFileMode(QFileDialog::ExistingFiles);
        else if ((flags & kDialogFileMustExist) != 0)
            dialog.setFileMode(QFileDialog::ExistingFile);
        else
            dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, (flags & kDialogOverwritePrompt) == 0);
    }

    QStringList filters;
    for (const FileFilter& filter : request.filters) filters << NameFilter(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.filterIndex >= 1 && request.filterIndex <= filters.size()
                              ? request.filterIndex - 1
                              : 0;
        dialog.selectNameFilter(filters.at(index));
    }

    if (!request.initialFolder.empty())
        dialog.setDirectory(QString::fromStdString(request.initialFolder));
    if (!request.places.empty()) {
        QList<QUrl> sidebar = dialog.sidebarUrls();
        for (const std::string& place : request.places)
            sidebar << QUrl::fromLocalFile(QString::fromStdString(place));
        dialog.setSidebarUrls(sidebar);
    }
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
    // Left alone, Qt gives the dialog its own "Open" / "Save As" title.
    if (!request.title.empty()) dialog.setWindowTitle(QString::fromStdString(request.title));
}

std::vector<std::string> QtFileDialog::ChosenPaths(const QFileDialog& dialog) {
    std::vector<std::string> paths;
    for (const QString& file : dialog.selectedFiles())
        paths.push_back(QDir::toNativeSeparators(file).toStdString());
    return paths;
}

std::optional<std::vector<std::string>> QtFileDialog::Run(const FileDialogRequest& request,
                                                          std::uint32_t& flags) {
    QFileDialog dialog(owner_.data());
    Configure(dialog, request, flags);
    BringToFrontWhenShown(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::vector<std::string> paths = ChosenPaths(dialog);
    if (paths.empty()) return std::nullopt;
    return paths;
}

}  // namespace vantrel
