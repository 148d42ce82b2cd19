// The simulated unit's end of the line: a pseudo-terminal whose slave side the tool opens as
// its serial port.
#pragma once

#include <cstddef>
#include <string>

namespace korvan::sim {

struct PtyLine {
    int master = -1;
    // Held open by the unit itself: with no slave descriptor open anywhere, the master reads
    // EIO and polls as hung up, which would turn the event loop into a busy loop whenever no
    // client is connected.
    int slave = -1;
    std::string slavePath;
};

// Opens a pty in raw mode (no echo, no line editing, no character translation, 8 bits) with
// a non-blocking master. Returns an empty string on success, else what failed.
std::string OpenPty(PtyLine& line);
void ClosePty(PtyLine& line);

// Makes `link` a symbolic link to `target`, replacing an existing symbolic link but never a
// file or folder of another kind. The new link appears atomically.
std::string MakeLink(const std::string& link, const std::string& target);
// Removes `link` if it is still our link to `target` (another unit may have taken it over).
void RemoveLinkIfOurs(const std::string& link, const std::string& target);

// Bytes the unit has written that no client has read yet.
std::size_t UnreadBytes(const PtyLine& line);

// A client that has gone away leaves behind answers it never read and, if it asked for
// exclusive use, a slave nobody else may open (the tty lives on because the unit holds it).
// Clears both, as a real port would be clean for the next program.
void ResetForNextClient(const PtyLine& line);

}  // namespace korvan::sim
