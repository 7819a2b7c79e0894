// The file dialog on QFileDialog: open or save, one file type list, one or several files.
#pragma once

#include <QPointer>
#include <QWidget>

#include "core/language/FileDialogPort.h"

class QFileDialog;

namespace vantrel {

class QtFileDialog : public FileDialogPort {
  public:
    // `owner` (may be null) is the window the dialog belongs to and is centred on.
    explicit QtFileDialog(QWidget* owner);

    std::optional<std::vector<std::string>> Run(const FileDialogRequest& request,
                                                std::uint32_t& flags) override;

    // Sets up `dialog` for `request` and `flags`; kept apart from Run so the mapping can be
    // checked without a user.
    static void Configure(QFileDialog& dialog, const FileDialogRequest& request,
                          std::uint32_t flags);
    // The name filter shown for one file type: "Language files (*.lng)".
    static QString NameFilter(const FileFilter& filter);
    // The dialog's chosen files as native UTF-8 paths.
    static std::vector<std::string> ChosenPaths(const QFileDialog& dialog);

  private:
    QPointer<QWidget> owner_;
};

}  // namespace vantrel
