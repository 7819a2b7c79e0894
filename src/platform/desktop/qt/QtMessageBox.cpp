#include "platform/desktop/qt/QtMessageBox.h"

#include <QMessageBox>
#include <QString>

#include "platform/desktop/qt/FrontWindow.h"

namespace vantrel {

void QtMessageBox::Warning(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    BringToFrontWhenShown(box);
    box.exec();
}

bool QtMessageBox::AskYesNo(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Information, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    BringToFrontWhenShown(box);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace vantrel
