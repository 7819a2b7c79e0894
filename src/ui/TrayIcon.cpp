#include "ui/TrayIcon.h"

#include <QAction>
#include <QCursor>
#include <QMouseEvent>
#include <QString>
#include <cstdio>
#include <string_view>

namespace vantrel {

namespace {

using ClickSignal = void (TrayIcon::*)();

// The signal each entry's choice raises, by entry name.
ClickSignal ClickSignalFor(std::string_view name) {
    if (name == "mnuDef") return &TrayIcon::mnuDef_Click;
    if (name == "mnuLingua") return &TrayIcon::mnuLingua_Click;
    if (name == "mnuAggLingua") return &TrayIcon::mnuAggLingua_Click;
    if (name == "mnuDonazione") return &TrayIcon::mnuDonazione_Click;
    if (name == "mnuAggiornamenti") return &TrayIcon::mnuAggiornamenti_Click;
    if (name == "mnuLicenza") return &TrayIcon::mnuLicenza_Click;
    if (name == "mnuVersioni") return &TrayIcon::mnuVersioni_Click;
    if (name == "mnuAbout") return &TrayIcon::mnuAbout_Click;
    if (name == "mnuExit") return &TrayIcon::mnuExit_Click;
    return nullptr;
}

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {
    popUp_.setObjectName(FromView(kPopupMenuName));
    popUp_.setTitle(FromView(kPopupMenuTitle));
    const auto& model = PopupMenuEntries();
    for (std::size_t i = 0; i < kPopupMenuSize; ++i) {
        const MenuEntry& entry = model[i];
        QAction* action = entry.separator ? popUp_.addSeparator()
                                          : popUp_.addAction(FromView(entry.builtInCaption));
        action->setObjectName(FromView(entry.name));
        if (const ClickSignal signal = ClickSignalFor(entry.name)) {
            connect(action, &QAction::triggered, this, signal);
        }
        entries_[i] = action;
    }
    // A press on the icon while the menu is open only closes the menu (see eventFilter).
    // popUp_.installEventFilter(this);

    // No setContextMenu: on an XEmbed tray Qt would then open that menu itself on a right
    // press, on top of the one opened here. Both buttons go through OnActivated instead.
    connect(&tray_, &QSystemTrayIcon::activated, this, &TrayIcon::OnActivated);
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::AddTrayIcon(const QIcon& icon) {
    tray_.setIcon(icon);
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        std::fputs("vantrel: no notification area found, running without a tray icon\n", stderr);
    }
    tray_.show();
}

void TrayIcon::RemoveTrayIcon() {
    tray_.hide();
}

void TrayIcon::ApplyMenuTexts(const LangText& texts) {
    vantrel::ApplyMenuTexts(texts, [this](std::size_t position, const std::string& text) {
        entries_[position]->setText(QString::fromStdString(text));
    });
}

bool TrayIcon::SetMenuBitmap(std::size_t itemPosition, const QIcon& picture) {
    if (itemPosition >= kPopupMenuSize) return false;
    QAction* action = entries_[itemPosition];
    if (action->isSeparator()) return false;
    action->setIcon(picture);
    // Some desktops hide menu icons by default; these pictures are part of the menu.
    action->setIconVisibleInMenu(true);
    return true;
}

void TrayIcon::SetMenuBitmaps() {
    for (const MenuBitmapStep& step : MenuBitmapAssignments()) {
        const bool attached = SetMenuBitmap(step.itemPosition, MenuPictureIcon(step.picture));
        static_cast<void>(attached);  // a missing picture leaves the entry plain
    }
}

void TrayIcon::ShowPopUpAtPointer() {
    if (popUp_.isVisible()) return;
    popUp_.popup(QCursor::pos());
}

QAction* TrayIcon::Entry(std::size_t position) const {
    return position < kPopupMenuSize ? entries_[position] : nullptr;
}

void TrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:  // left click
        case QSystemTrayIcon::Context:  // right click
            ShowPopUpAtPointer();
            break;
        case QSystemTrayIcon::DoubleClick:
        case QSystemTrayIcon::MiddleClick:
        case QSystemTrayIcon::Unknown:
            break;
    }
}

bool TrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &popUp_ && event->type() == QEvent::MouseButtonPress) {
        // A press outside an open menu closes it and is then delivered again to whatever lies
        // under the pointer. On the tray icon that would reopen the menu at once, so a second
        // click (or the second half of a double click) could never close it.
        const auto* press = static_cast<QMouseEvent*>(event);
        const QPoint global = press->globalPosition().toPoint();
        const bool onIcon = tray_.isVisible() && tray_.geometry().contains(global);
        popUp_.setAttribute(Qt::WA_NoMouseReplay, onIcon);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vantrel
