#include "device/udev_rules.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>

namespace korvan {

const char* const kUdevRuleFolders[4] = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                         "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};

namespace fs = std::filesystem;

namespace {

std::optional<std::uint16_t> Hex16(const std::string& text) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                       ? c - '0'
                                                       : std::tolower(c) - 'a' + 10);
    }
    return static_cast<std::uint16_t>(value);
}

// The value compared with `key` on the line (KEY=="value"), or nothing.
std::optional<std::string> Compared(const std::string& line, const std::string& key) {
    for (std::size_t at = line.find(key); at != std::string::npos; at = line.find(key, at + 1)) {
        std::size_t p = at + key.size();
        while (p < line.size() && line[p] == ' ') ++p;
        if (line.compare(p, 2, "==") != 0) continue;
        p += 2;
        while (p < line.size() && line[p] == ' ') ++p;
        if (p >= line.size() || line[p] != '"') continue;
        const std::size_t end = line.find('"', p + 1);
        if (end == std::string::npos) continue;
        return line.substr(p + 1, end - p - 1);
    }
    return std::nullopt;
}

}  // namespace

std::vector<UsbIdPattern> RuleUsbIds(const std::string& text) {
    std::vector<UsbIdPattern> ids;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        if (const auto vendor = Compared(line, "ATTRS{idVendor}")) {
            UsbIdPattern id;
            const auto v = Hex16(*vendor);
            if (!v) continue;
            id.vendor = *v;
            if (const auto product = Compared(line, "ATTRS{idProduct}")) {
                id.product = Hex16(*product);
                if (!id.product) continue;
            }
            ids.push_back(id);
            continue;
        }
        // ENV{PRODUCT} is "vendor/product/release" in hex without leading zeros.
        if (const auto product = Compared(line, "ENV{PRODUCT}")) {
            const std::size_t slash = product->find('/');
            if (slash == std::string::npos) continue;
            const auto v = Hex16(product->substr(0, slash));
            if (!v) continue;
            UsbIdPattern id;
            id.vendor = *v;
            const std::size_t slash2 = product->find('/', slash + 1);
            const std::string p = product->substr(
                slash + 1, slash2 == std::string::npos ? std::string::npos : slash2 - slash - 1);
            if (p != "*") {
                id.product = Hex16(p);
                if (!id.product) continue;
            }
            ids.push_back(id);
        }
    }
    return ids;
}

std::string UnderRoot(const std::string& root, const std::string& absolute) {
    if (root.empty() || root == "/") return absolute;
    std::string r = root;
    while (r.size() > 1 && r.back() == '/') r.pop_back();
    return absolute.empty() || absolute.front() != '/' ? r + "/" + absolute : r + absolute;
}

std::vector<RuleFile> RuleFilesInForce(const std::string& root, const std::string& part) {
    std::vector<RuleFile> files;
    std::set<std::string> seen;
    for (const char* folder : kUdevRuleFolders) {
        std::error_code ec;
        const fs::path dir = UnderRoot(root, folder);
        std::vector<fs::path> names;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
            names.push_back(it->path());
        std::sort(names.begin(), names.end());
        for (const fs::path& p : names) {
            const std::string name = p.filename().string();
            if (name.size() < 6 || name.compare(name.size() - 6, 6, ".rules") != 0) continue;
            if (!seen.insert(name).second) continue;  // hidden by a folder of higher precedence
            if (!part.empty() && name.find(part) == std::string::npos) continue;
            // A link to /dev/null reads as empty: the usual way to mask a rule.
            std::ifstream in(p, std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            if (text.str().empty()) continue;
            files.push_back({name, p.string(), text.str()});
        }
    }
    return files;
}

}  // namespace korvan
