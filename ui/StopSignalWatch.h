#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace quarvel {

// Calls `onStop` from the event loop each time a stop signal arrives (see
// platform/StopSignal.h): the signal handler itself can do nothing but note
// it, and the window may only be touched from its own thread.
class StopSignalWatch : public QObject
{
    Q_OBJECT

public:
    // `wakeFd` is stopSignalWakeFd(); with -1 the watch does nothing.
    StopSignalWatch(int wakeFd, std::function<void()> onStop, QObject* parent = nullptr);

private:
    void woken();

    QSocketNotifier* m_notifier = nullptr;
    std::function<void()> m_onStop;
};

} // namespace quarvel
