#include "app/demo_sites.h"

#include "app/data_directory.h"

#include "site_simulator.h"

#include <QFile>

namespace mz {

DemoSites::DemoSites() = default;

DemoSites::~DemoSites() {
    if (simulator_)
        simulator_->stop();
}

bool DemoSites::start(const std::filesystem::path& corpus) {
    if (!directory_.isValid()) {
        error_ =
            QStringLiteral("cannot make a temporary data directory: ") + directory_.errorString();
        return false;
    }
    sim::BookCatalogue catalogue = sim::BookCatalogue::samples();
    std::error_code ignored;
    if (!corpus.empty() && std::filesystem::is_directory(corpus, ignored))
        corpusBooks_ = catalogue.addCorpus(corpus);
    simulator_ = std::make_unique<sim::SiteSimulator>(std::move(catalogue));
    if (!simulator_->start()) {
        error_ = QStringLiteral("cannot start the site simulator on 127.0.0.1");
        return false;
    }
    const QString sitesPath = DataDirectory::resolve(directory_.path(), QString()).sitesPath();
    if (!simulator_->siteConfig().save(QFile::encodeName(sitesPath).toStdString())) {
        error_ = QStringLiteral("cannot write ") + sitesPath;
        return false;
    }
    return true;
}

Text DemoSites::baseAddress() const {
    return simulator_ ? simulator_->baseAddress() : Text();
}

std::filesystem::path demoCorpusDirectory() {
    const QByteArray fromEnvironment = qgetenv("MOZHOU_CORPUS_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment.toStdString();
    return MOZHOU_DEFAULT_CORPUS_DIR;
}

} // namespace mz
