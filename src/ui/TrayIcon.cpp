#include "ui/TrayIcon.h"

#include <QAction>
#include <QCursor>
#include <QString>
#include <cstdio>
#include <optional>
#include <string_view>

namespace vantrel {

namespace {

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {
    menu_.setObjectName(FromView(kTrayMenuName));
    menu_.setTitle(FromView(kTrayMenuTitle));
    const auto& model = TrayMenuEntries();
    for (std::size_t i = 0; i < kTrayMenuSize; ++i) {
        const MenuEntry& entry = model[i];
        QAction* action = entry.IsSeparator() ? menu_.addSeparator()
                                              : menu_.addAction(FromView(entry.builtInCaption));
        action->setObjectName(FromView(entry.name));
        // Qt ticks it itself on a click; ShowState brings it in line with what the run did.
        action->setCheckable(entry.checkable);
        if (!entry.IsSeparator()) {
            connect(action, &QAction::triggered, this,
                    [this, choice = entry.action] { emit menuChosen(choice); });
        }
        entries_[i] = action;
    }

    // No setContextMenu: on an XEmbed tray Qt would then open that menu itself on a right
    // press, on top of the one opened here. Both buttons go through OnActivated instead.
    connect(&tray_, &QSystemTrayIcon::activated, this, &TrayIcon::OnActivated);
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::AddTrayIcon(const QIcon& icon) {
    // A state shown before keeps its own picture.
    tray_.setIcon(state_ == TrayState::Normal ? icon : TrayStateIcon(state_));
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
    // A tooltip in the old language would outlast the change.
    ShowState(state_, texts);
}

void TrayIcon::ShowState(TrayState state, const LangText& texts) {
    if (state != state_) tray_.setIcon(TrayStateIcon(state));
    state_ = state;
    if (const auto pause = TrayMenuPosition(MenuAction::TogglePause))
        entries_[*pause]->setChecked(state == TrayState::Paused);
    const std::optional<TextId> tooltip = TrayTooltip(state);
    tray_.setToolTip(tooltip ? QString::fromStdString(texts[*tooltip]) : QString());
}

bool TrayIcon::SetMenuBitmap(std::size_t itemPosition, const QIcon& picture) {
    if (itemPosition >= kTrayMenuSize) return false;
    QAction* action = entries_[itemPosition];
    if (action->isSeparator()) return false;
    action->setIcon(picture);
    // Some desktops hide menu icons by default; these pictures are part of the menu.
    action->setIconVisibleInMenu(true);
    return true;
}

void TrayIcon::SetMenuBitmaps() {
    const auto& entries = TrayMenuEntries();
    for (std::size_t i = 0; i < kTrayMenuSize; ++i) {
        if (entries[i].picture == MenuPicture::None) continue;
        const bool attached = SetMenuBitmap(i, MenuPictureIcon(entries[i].picture));
        static_cast<void>(attached);  // a missing picture leaves the entry plain
    }
}

void TrayIcon::ShowMenuAtPointer() {
    if (menu_.isVisible()) return;
    menu_.popup(QCursor::pos());
}

QAction* TrayIcon::Entry(std::size_t position) const {
    return position < kTrayMenuSize ? entries_[position] : nullptr;
}

void TrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:  // left click
        case QSystemTrayIcon::Context:  // right click
            ShowMenuAtPointer();
            break;
        case QSystemTrayIcon::DoubleClick:
        case QSystemTrayIcon::MiddleClick:
        case QSystemTrayIcon::Unknown:
            break;
    }
}

}  // namespace vantrel
