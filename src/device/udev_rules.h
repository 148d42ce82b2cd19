// What the doctor needs to know of udev's rule files: which files are in force (udev's own
// precedence of folders) and which USB adapters (vendor:product) a file names. Plain C++; every
// folder is looked up under a root that tests point at a fake tree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvan {

// The folders udev reads, highest precedence first: a file in /etc hides one of the same name
// further down.
extern const char* const kUdevRuleFolders[4];

// The packaged rule of this program, and the prefix of the links it makes.
constexpr const char* kOwnRuleName = "60-korvan2.rules";
constexpr const char* kOwnLinkPrefix = "korvan2-";

// A USB id a rule matches: a product of a vendor, or every product of it.
struct UsbIdPattern {
    std::uint16_t vendor = 0;
    std::optional<std::uint16_t> product;

    bool Matches(std::uint16_t v, std::uint16_t p) const {
        return v == vendor && (!product || *product == p);
    }
    bool operator==(const UsbIdPattern& o) const {
        return vendor == o.vendor && product == o.product;
    }
};

// The USB ids named on the lines of a rules text, in either of udev's spellings:
// ATTRS{idVendor}=="1a86", ATTRS{idProduct}=="7523" on one line, or ENV{PRODUCT}=="1a86/7523/*".
// Comments and lines that assign instead of compare ("=" alone) name nothing.
std::vector<UsbIdPattern> RuleUsbIds(const std::string& text);

struct RuleFile {
    std::string name;  // "85-brltty.rules"
    std::string path;  // where it was found, under the root
    std::string text;
};

// The rule files in force under `root` whose name contains `part` ("" for all): for each name
// the one of highest precedence; an empty file or a link to /dev/null masks the name.
std::vector<RuleFile> RuleFilesInForce(const std::string& root, const std::string& part);

// `absolute` looked up under `root` ("" or "/" is the real system).
std::string UnderRoot(const std::string& root, const std::string& absolute);

}  // namespace korvan
