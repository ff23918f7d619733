// From the click to the last row in the list, against the fetch of the same
// page alone, both from the site simulator in the same run: a novel search
// that finds 1 000 books, and the chapter list of a book with 10 000 chapters.
// The difference is the list work: the pattern pass and the rows.

#include "app/data_directory.h"
#include "app/dialog_message_sink.h"
#include "app/main_window.h"
#include "app/novel_search_tab.h"
#include "app/program_state.h"
#include "app/report_list.h"
#include "reader/chapter_sources.h"
#include "reader/online_chapter_source.h"
#include "reader/reader_window.h"
#include "sites/novel_search.h"
#include "sites/online_chapters.h"
#include "sites/search_word.h"
#include "sites/site_page.h"
#include "text/code_page.h"

#include "site_simulator.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int bigBookId = 9000;

mz::sim::BookCatalogue benchCatalogue() {
    mz::sim::BookCatalogue catalogue;
    for (int i = 0; i < 1000; ++i) {
        catalogue.add({2000 + i,
                       "长河夜航第" + std::to_string(i) + "卷",
                       "林远舟",
                       "仙侠",
                       "连载",
                       "2024-05-01",
                       {{"第一章 启程", {"江风很大。"}}}});
    }
    mz::sim::SampleBook big{bigBookId, "万章之书", "佚名", "历史", "完本", "2024-01-01", {}};
    for (int n = 1; n <= 10000; ++n)
        big.chapters.push_back({"第" + std::to_string(n) + "章 夜航", {"江风很大。"}});
    catalogue.add(std::move(big));
    return catalogue;
}

double millisecondsOf(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool waitWhile(const std::function<bool()>& busy) {
    return QTest::qWaitFor([&] { return !busy(); }, 60000);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* what, const std::vector<double>& fetch, const std::vector<double>& click,
            const char* target) {
    const double reference = median(fetch);
    const double measured = median(click);
    std::printf("%s\n", what);
    std::printf("  fetch alone (reference):  %8.1f ms\n", reference);
    std::printf("  click to the last row:    %8.1f ms\n", measured);
    std::printf("  list work:                %8.1f ms%s\n", measured - reference, target);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 9;
    mz::sim::SiteSimulator simulator(benchCatalogue());
    if (!simulator.start())
        return 1;
    const mz::SiteConfig sites = simulator.siteConfig();

    QTemporaryDir dir;
    mz::ProgramState state;
    mz::ChapterSources sources;
    mz::addOnlineChapterSources(sources, sites);
    mz::DialogMessageSink messages;
    std::vector<double> searchFetch, searchClick, indexFetch, indexClick;
    int searchRows = 0;
    int indexRows = 0;

    const mz::SiteRequest searchRequest = mz::novelSearchRequest(
        mz::NovelSite::Biquge, sites,
        mz::encodeSearchWord(mz::WordEncoder::EncodeUri, mz::utf8ToGbk("长河")));
    const mz::SiteRequest indexRequest = mz::chapterIndexRequest(
        mz::NovelSite::Biquge, sites, "/bqg/" + std::to_string(bigBookId) + "/");

    auto measureIndex = [&](QDialog& modal) {
        auto& reader = static_cast<mz::ReaderWindow&>(modal);
        reader.show();
        for (int i = 0; i <= runs; ++i) { // the first round warms up
            const double fetch = millisecondsOf([&] { mz::fetchSitePage(indexRequest); });
            reader.setWindowTitle(QString());
            const double click = millisecondsOf([&] {
                QTest::mouseClick(reader.按钮7, Qt::LeftButton);
                waitWhile([&] { return reader.windowTitle().isEmpty(); });
            });
            indexRows = reader.超级列表章节->rowCount();
            if (i > 0) {
                indexFetch.push_back(fetch);
                indexClick.push_back(click);
            }
        }
    };
    mz::MainWindow window(mz::WindowServices{.state = state,
                                             .chapterSources = sources,
                                             .messages = messages,
                                             .runModal = measureIndex,
                                             .sites = sites},
                          mz::DataDirectory::resolve(dir.path(), QString()));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "window not exposed\n");
    auto& tab = *window.findChild<mz::NovelSearchTab*>();
    window.组合框1->setCurrentIndex(0);
    window.编辑框_搜索->setText(QStringLiteral("长河"));
    for (int i = 0; i <= runs; ++i) {
        const double fetch = millisecondsOf([&] { mz::fetchSitePage(searchRequest); });
        const double click = millisecondsOf([&] {
            QTest::mouseClick(window.按钮1, Qt::LeftButton);
            waitWhile([&] { return tab.isBusy(); });
        });
        searchRows = window.超级列表框2->rowCount();
        if (i > 0) {
            searchFetch.push_back(fetch);
            searchClick.push_back(click);
        }
    }

    // Open the big book as a search result, then load its index in the reader.
    window.超级列表框2->clearRows();
    window.超级列表框2->appendRows({{"/bqg/" + std::to_string(bigBookId) + "/"}});
    window.超级列表框2->selectRow(0);
    window.编辑框模式->setText(QStringLiteral("1"));
    window.编辑框1->setText(QStringLiteral("/bqg/%1/").arg(bigBookId));
    window.openReaderWindow();

    std::printf("medians of %d runs, fetch and click in turns\n", runs);
    report(("novel search, " + std::to_string(searchRows) + " rows").c_str(), searchFetch,
           searchClick, "");
    report(("chapter list, " + std::to_string(indexRows) + " rows").c_str(), indexFetch, indexClick,
           " (target: at most 300 ms)");
    window.hide();
    return 0;
}
