#include "platform/OnlineCpus.h"

#include <unistd.h>

namespace quarvel {

int onlineCpuCount()
{
    const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
    return online < 1 ? 1 : static_cast<int>(online);
}

} // namespace quarvel
