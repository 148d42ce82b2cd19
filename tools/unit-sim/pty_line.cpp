#include "unit-sim/pty_line.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace korvan::sim {

namespace {

std::string Failed(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

void MakeRaw(termios& t) {
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                        IXON | IXOFF | IXANY);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, B57600);
    cfsetospeed(&t, B57600);
}

}  // namespace

std::string OpenPty(PtyLine& line) {
    line.master = posix_openpt(O_RDWR | O_NOCTTY);
    if (line.master < 0) return Failed("posix_openpt");
    if (grantpt(line.master) != 0) return Failed("grantpt");
    if (unlockpt(line.master) != 0) return Failed("unlockpt");
    const char* name = ptsname(line.master);
    if (!name) return Failed("ptsname");
    line.slavePath = name;

    line.slave = open(line.slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (line.slave < 0) return Failed("open slave");
    // The line discipline sits on the slave side; without raw mode it would echo our
    // answers back to us as requests and translate CR and LF bytes inside frames.
    termios t{};
    if (tcgetattr(line.slave, &t) != 0) return Failed("tcgetattr");
    MakeRaw(t);
    if (tcsetattr(line.slave, TCSANOW, &t) != 0) return Failed("tcsetattr");

    const int flags = fcntl(line.master, F_GETFL);
    if (flags < 0 || fcntl(line.master, F_SETFL, flags | O_NONBLOCK) != 0) {
        return Failed("fcntl O_NONBLOCK");
    }
    fcntl(line.master, F_SETFD, FD_CLOEXEC);
    fcntl(line.slave, F_SETFD, FD_CLOEXEC);
    return {};
}

void ClosePty(PtyLine& line) {
    if (line.master >= 0) close(line.master);
    if (line.slave >= 0) close(line.slave);
    line.master = line.slave = -1;
}

std::string MakeLink(const std::string& link, const std::string& target) {
    struct stat st {};
    if (lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        return "--link " + link + " exists and is not a symbolic link; not replacing it";
    }
    // Made beside the final name and renamed over it, so a client never finds the link
    // missing or half-made while it is being replaced.
    const std::string temp = link + ".tmp" + std::to_string(getpid());
    unlink(temp.c_str());
    if (symlink(target.c_str(), temp.c_str()) != 0) return Failed(("symlink " + temp).c_str());
    if (rename(temp.c_str(), link.c_str()) != 0) {
        std::string error = Failed(("rename to " + link).c_str());
        unlink(temp.c_str());
        return error;
    }
    return {};
}

void RemoveLinkIfOurs(const std::string& link, const std::string& target) {
    char buf[PATH_MAX];
    const ssize_t n = readlink(link.c_str(), buf, sizeof buf - 1);
    if (n < 0) return;
    buf[n] = '\0';
    if (target == buf) unlink(link.c_str());
}

std::size_t UnreadBytes(const PtyLine& line) {
    int queued = 0;
    if (ioctl(line.slave, FIONREAD, &queued) != 0 || queued < 0) return 0;
    return static_cast<std::size_t>(queued);
}

void ResetForNextClient(const PtyLine& line) {
    tcflush(line.slave, TCIFLUSH);
#ifdef TIOCNXCL
    ioctl(line.slave, TIOCNXCL);
#endif
}

}  // namespace korvan::sim
