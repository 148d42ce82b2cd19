// Whether the far end of a serial line has gone away, asked of the open file handle itself.
//
// Qt SerialPort 6.4 reports a read error as soon as the line hangs up; 6.8 no longer does, and
// the loss then shows only when a later write fails, up to a monitor cycle later. poll() tells
// the same on every version: POLLHUP once the adapter is unplugged or the other end of a
// pseudo-terminal has closed.
#pragma once

namespace korvan {

enum class LineCondition {
    Live,     // open, whether or not bytes are waiting
    HungUp,   // the far end is gone (what it sent last is gone with it)
    Unknown,  // no handle, or a system without poll() (Windows)
};

// Looks at the handle without waiting and without reading.
LineCondition CheckLine(long long handle);

}  // namespace korvan
