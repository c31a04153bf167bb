#pragma once

#include <QObject>

#include <functional>
#include <memory>

// SIGTERM, SIGINT and SIGHUP (on Windows a console's Ctrl+C, Ctrl+Break and closing) while the
// list runs without a window. Each is only noted where it arrives and handed to stop, with its
// number, from the event loop, or from deliverPending() by a caller that dispatches no events
// for a while. The handlers are in place while the object lives.
class StopSignals : public QObject {
    Q_OBJECT

public:
    explicit StopSignals(std::function<void(int signal)> stop);
    ~StopSignals() override;
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    void deliverPending();

private:
    struct Native;
    std::function<void(int signal)> m_stop;
    std::unique_ptr<Native> m_native;
};
