// The about window: title picture, name and version, and credits scrolling through a viewport.
#pragma once

#include <QPointer>
#include <QWidget>

#include "core/info/AboutScroller.h"
#include "core/info/OpenerPort.h"
#include "core/text/LangText.h"
#include "ui/Look.h"

class QLabel;
class QTimer;

namespace vantrel {

class LinkLabel;

// AboutWindow. Modeless, without owner; deletes itself when closed, so each opening after a close
// starts the scrolling afresh. `opener` must outlive the window.
class AboutWindow : public QWidget {
    Q_OBJECT
  public:
    explicit AboutWindow(OpenerPort& opener);

    // Title, version, description and credit line, from the text table.
    void SetTexts(const LangText& texts);
    // One step of the scrolling (the 10 ms scroll timer calls it).
    void OnScrollTick();
    const AboutScroller& Scroller() const { return scroller_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildHeader();
    void BuildCredits();
    int Px(int twips) const;
    QLabel* AddLabel(QWidget* parent, const char* name, const TwipRect& box);
    void PlacePanel();

    OpenerPort& opener_;
    AboutScroller scroller_;
    QTimer* timer_ = nullptr;
    QWidget* viewport_ = nullptr;  // the visible part of the scrolling panel
    QWidget* panel_ = nullptr;     // the panel that scrolls
    QLabel* version_ = nullptr;
    QLabel* description_ = nullptr;
    QLabel* copyright_ = nullptr;
    LinkLabel* homePage_ = nullptr;  // Tab reaches it after the credits; Enter or Space opens it
};

// Keeps one about window at a time for the main window.
class AboutWindowHost {
  public:
    explicit AboutWindowHost(OpenerPort& opener) : opener_(opener) {}
    // Closes a window still open: it must not outlive the opener.
    ~AboutWindowHost();
    AboutWindowHost(const AboutWindowHost&) = delete;
    AboutWindowHost& operator=(const AboutWindowHost&) = delete;

    // openAbout: opens the window, or brings the open one to the front without resetting its
    // scrolling; either way its texts are taken afresh.
    void Show(const LangText& texts);
    // The open window, or null.
    AboutWindow* Window() const { return window_.data(); }

  private:
    OpenerPort& opener_;
    QPointer<AboutWindow> window_;
};

}  // namespace vantrel
