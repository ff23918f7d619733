#pragma once

// The demo mode's stand-in for the internet: the site simulator on a free
// local port and a throw-away data directory whose sites.ini points every site
// at it, so every online feature can be tried without the real sites. Both end
// with this object.

#include "text/text.h"

#include <QString>
#include <QTemporaryDir>

#include <filesystem>
#include <memory>

namespace mz {

namespace sim {
class SiteSimulator;
}

class DemoSites {
  public:
    DemoSites();
    ~DemoSites();
    DemoSites(const DemoSites&) = delete;
    DemoSites& operator=(const DemoSites&) = delete;

    // Serves the sample books, and the novels of corpus when that folder exists;
    // writes sites.ini. False, with error() set, when something could not start.
    bool start(const std::filesystem::path& corpus);

    QString dataDirectory() const { return directory_.path(); }
    Text baseAddress() const;
    int corpusBooks() const { return corpusBooks_; }
    const QString& error() const { return error_; }

  private:
    QTemporaryDir directory_;
    std::unique_ptr<sim::SiteSimulator> simulator_;
    int corpusBooks_ = 0;
    QString error_;
};

// Where the demo looks for the real novels: MOZHOU_CORPUS_DIR when set, else
// the corpus folder beside the project.
std::filesystem::path demoCorpusDirectory();

} // namespace mz
