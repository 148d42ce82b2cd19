// A null device for the tests that write through links to one. Run as root, a fault in the
// code under test could replace the system's /dev/null with a regular file, so root gets a
// device node of its own in the test's folder; other users cannot replace /dev/null anyway.
#pragma once

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <string>

namespace korvan::test {

constexpr unsigned kMemoryDevicesMajor = 1;
constexpr unsigned kNullMinor = 3;

// The path of a null device to write into, or an empty string when none can be had safely.
inline std::string PrivateNullDevice(const std::string& folder) {
    const std::string node = folder + "/null-device";
    struct stat st {};
    if (::stat(node.c_str(), &st) == 0 && S_ISCHR(st.st_mode)) return node;
    if (::mknod(node.c_str(), S_IFCHR | 0666, makedev(kMemoryDevicesMajor, kNullMinor)) == 0)
        return node;
    return ::geteuid() == 0 ? std::string() : std::string("/dev/null");
}

}  // namespace korvan::test
