#pragma once

namespace transport {

// Line speeds that are no standard terminal speed (MIDI's 31250 baud). Kept apart from
// <termios.h>: the kernel's own terminal structures clash with it.

// Sets both speeds of an open terminal and reads them back; false when the driver refused
// or rounded the speed more than 2%, or the system offers no free speeds.
bool setLineSpeed(int fd, int baud);
// The output speed the driver reports, 0 when it cannot be read.
int lineSpeed(int fd);

} // namespace transport
