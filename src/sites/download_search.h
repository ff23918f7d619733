#pragma once

// The download search of 下书网 and 奇书网 and the download links of a book.

#include "sites/download_link_entry.h"
#include "sites/download_result_entry.h"
#include "sites/site_config.h"
#include "sites/site_request.h"

#include <optional>
#include <vector>

namespace mz {

class PatternObject;

// Index of the site in the download site chooser (组合框2).
enum class DownloadSite { Xiashu = 0, Qishu = 1 };

std::optional<DownloadSite> downloadSiteAt(int index);

WordEncoder downloadSearchEncoder(DownloadSite site);

// Base address + text before the word + encoded word + text after it.
SiteRequest downloadSearchRequest(DownloadSite site, const SiteConfig& config,
                                  const Text& encodedWord);

const Text& downloadSearchPattern(DownloadSite site);

// 下书网: 地址 group 1, 标题 group 4. 奇书网: 地址 group 2, 标题 groups 3, 4 and 5
// joined, which mends a title the site split around its red mark.
std::vector<DownloadResultEntry> takeDownloadResults(DownloadSite site, const Text& page,
                                                     PatternObject& pattern);

// The 下书网 book id: the text after the first "id=" up to a further "id=".
// None when the address has no text after an "id=", so no request is made.
std::optional<Text> xiashuBookId(const Text& resultAddress);

// 下书网: base + "/" + book id + "/down", decoded from UTF-8.
SiteRequest xiashuLinksRequest(const SiteConfig& config, const Text& bookId);
// 奇书网: base + the result's 地址, GBK.
SiteRequest qishuLinksRequest(const SiteConfig& config, const Text& resultAddress);

const Text& xiashuZipLinkPattern();
const Text& xiashuTextLinkPattern();
const Text& qishuLinkPattern();

// 下书网: every zip link, then every text link; 奇书网: its links in page order.
std::vector<DownloadLinkEntry> takeDownloadLinks(DownloadSite site, const Text& page,
                                                 PatternObject& pattern);

} // namespace mz
