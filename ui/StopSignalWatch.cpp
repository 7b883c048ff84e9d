#include "ui/StopSignalWatch.h"

#include "platform/StopSignal.h"

#include <QSocketNotifier>
#include <utility>

namespace quarvel {

StopSignalWatch::StopSignalWatch(int wakeFd, std::function<void()> onStop, QObject* parent)
    : QObject(parent), m_onStop(std::move(onStop))
{
    if (wakeFd < 0)
        return;
    m_notifier = new QSocketNotifier(wakeFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignalWatch::woken);
}

void StopSignalWatch::woken()
{
    drainStopSignalWakeFd();
    if (m_onStop)
        m_onStop();
}

} // namespace quarvel
