#pragma once

// Where the five sites and the speech service live. Read once at start-up from
// "sites.ini" in the data directory; every key has a default, so a missing file
// or key still gives a working set. Tests and the demo point these at the site
// simulator.

#include "text/text.h"

#include <filesystem>

namespace mz {

struct SiteConfig {
    // Base addresses: scheme and host, no trailing "/". Request addresses are
    // these followed by a path, joined by plain concatenation.
    Text biquge = "https://www.biquge.com";
    Text sogou = "https://www.sogouxs.com";
    Text e8Search = "https://search.e8zw.com"; // the E8中文网 search service
    Text e8SiteId = "e8zw";                    // that service's name for the site
    Text xiashu = "https://www.xiashu.cc";
    Text qishu = "http://www.qishu.cc";
    Text speechBase = "http://api.microsofttranslator.com";
    Text speechAppId = "A1F3C0B7D2E4968F0A3B5C7D9E1F2A4B6C8D0E2F";

    // Defaults overlaid with the keys found in the file. A missing or unreadable
    // file gives the defaults; unknown keys and empty values are ignored.
    static SiteConfig load(const std::filesystem::path& path);

    // The same, from the file's bytes.
    static SiteConfig parse(std::string_view iniText);

    // Every key with a comment line, in the form load() reads.
    Text toIniText() const;

    // Writes toIniText() whole or not at all; false when the write failed.
    bool save(const std::filesystem::path& path) const;

    // Every site and the speech service at one base address (the simulator).
    static SiteConfig allAt(const Text& base);

    bool operator==(const SiteConfig&) const = default;
};

} // namespace mz
