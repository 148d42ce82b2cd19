#include "device/line_hangup.h"

#ifndef _WIN32
#include <poll.h>
#endif

namespace korvan {

LineCondition CheckLine(long long handle) {
#ifndef _WIN32
    if (handle < 0) return LineCondition::Unknown;
    pollfd p{};
    p.fd = static_cast<int>(handle);
    p.events = POLLIN;
    if (::poll(&p, 1, 0) < 0) return LineCondition::Unknown;
    if (p.revents & POLLNVAL) return LineCondition::Unknown;
    // A hung-up terminal also reports POLLIN (its end of file is "readable"), and what was
    // still queued is gone with the line, so the hang-up bits alone decide.
    return (p.revents & (POLLHUP | POLLERR)) != 0 ? LineCondition::HungUp : LineCondition::Live;
#else
    (void)handle;
    return LineCondition::Unknown;
#endif
}

}  // namespace korvan
