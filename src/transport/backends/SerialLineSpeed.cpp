#include "transport/backends/SerialLineSpeed.h"

#if defined(__linux__)
#include <asm/termbits.h>
#include <cstdlib>
#include <sys/ioctl.h>
#endif

namespace transport {

#if defined(__linux__)

bool setLineSpeed(int fd, int baud) {
    termios2 t{};
    if (::ioctl(fd, TCGETS2, &t) != 0) return false;
    t.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = static_cast<speed_t>(baud);
    t.c_ospeed = static_cast<speed_t>(baud);
    if (::ioctl(fd, TCSETS2, &t) != 0) return false;
    const int got = lineSpeed(fd);
    return std::abs(got - baud) * 50 <= baud;
}

int lineSpeed(int fd) {
    termios2 t{};
    if (::ioctl(fd, TCGETS2, &t) != 0) return 0;
    return static_cast<int>(t.c_ospeed);
}

#else

bool setLineSpeed(int, int) {
    return false;
}

int lineSpeed(int) {
    return 0;
}

#endif

} // namespace transport
