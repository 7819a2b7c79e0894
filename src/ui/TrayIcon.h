// The notification-area icon and its popup menu: a left or right click on the icon opens
// the menu at the pointer, each entry reports its choice through a signal.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <array>
#include <cstddef>

#include "core/menu/TrayMenu.h"
#include "core/menu/TrayState.h"
#include "core/text/LangText.h"
#include "ui/Look.h"

class QAction;

namespace vantrel {

class TrayIcon : public QObject {
    Q_OBJECT

  public:
    // Builds the menu with its fifteen positions and built-in captions; no icon is shown yet.
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    // Shows `icon` in the notification area, without a tooltip (ShowState sets another). Where no
    // notification area exists the program runs on without an icon (one line on standard error says
    // so); should one appear later, the icon shows up there.
    void AddTrayIcon(const QIcon& icon = ProgramIcon());
    // Takes the icon out of the notification area; harmless when it is not there.
    void RemoveTrayIcon();

    // Sets the captions from the text table, and the tooltip of the state shown.
    void ApplyMenuTexts(const LangText& texts);
    // Shows `state`: its picture in the notification area (once the icon is added), its
    // tooltip from `texts`, and the pause entry ticked while paused.
    void ShowState(TrayState state, const LangText& texts);
    TrayState State() const { return state_; }
    // Shows `picture` beside the entry at `itemPosition`; false (and nothing attached) for a
    // separator or a position outside the menu.
    bool SetMenuBitmap(std::size_t itemPosition, const QIcon& picture);
    // Attaches the six pictures of the program's resources to their entries.
    void SetMenuBitmaps();

    // Opens the menu at the pointer, unless it is open already.
    void ShowMenuAtPointer();

    QMenu& Menu() { return menu_; }
    // The action at a menu position (separators included).
    QAction* Entry(std::size_t position) const;
    QSystemTrayIcon& SystemTrayIcon() { return tray_; }

  signals:
    // The user chose the entry that does `action`.
    void menuChosen(vantrel::MenuAction action);

  private:
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    QMenu menu_;
    QSystemTrayIcon tray_;
    TrayState state_ = TrayState::Normal;
    std::array<QAction*, kTrayMenuSize> entries_{};  // owned by menu_
};

}  // namespace vantrel
