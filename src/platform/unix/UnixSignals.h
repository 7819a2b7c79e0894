// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the event loop, so they end the program
// through its normal shutdown (settings saved, icon removed).
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace vantrel {

class UnixSignals : public QObject {
    Q_OBJECT
  public:
    // Installs the handlers; only one instance may exist at a time.
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;

  signals:
    void received(int signalNumber);

  private:
    void Drain();
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace vantrel
