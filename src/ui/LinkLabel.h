// A text label that acts as a link: a left click on it, or Enter or Space while it has the
// keyboard focus, activates it; the focus shows as a dotted frame. Screen readers see a link
// with a press action that activates it.
#pragma once

#include <QLabel>

namespace vantrel {

class LinkLabel : public QLabel {
    Q_OBJECT
  public:
    explicit LinkLabel(QWidget* parent);

  signals:
    void activated();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace vantrel
