#pragma once

// The main window and the reader window against the site simulator: real
// requests over 127.0.0.1, the real flows, the real lists.

#include "app/data_directory.h"
#include "app/download_tab.h"
#include "app/main_window.h"
#include "app/novel_search_tab.h"
#include "app/program_state.h"
#include "app/window_test_support.h"
#include "reader/chapter_sources.h"
#include "reader/online_chapter_source.h"
#include "reader/reader_window.h"
#include "text/code_page.h"
#include "text/qt_text.h"

#include "support/simulator_suite.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace mz::test {

inline Text gbk(const char* utf8) {
    return utf8ToGbk(utf8);
}

using Rows = std::vector<std::vector<Text>>;

inline Rows listRows(const ReportList& list) {
    Rows rows;
    for (int row = 0; row < list.rowCount(); ++row) {
        std::vector<Text> cells;
        for (int column = 0; column < list.columnCount(); ++column)
            cells.push_back(list.cell(row, column));
        rows.push_back(std::move(cells));
    }
    return rows;
}

// Waits while busy() holds, processing events; false when it still holds after 10 s.
inline bool settle(const std::function<bool()>& busy) {
    return QTest::qWaitFor([&] { return !busy(); }, 10000);
}

struct HandOver {
    Text code;
    Text address;
    bool operator==(const HandOver&) const = default;
};

class OnlineWindowTest : public SimulatorSuite {
  protected:
    void SetUp() override {
        SimulatorSuite::SetUp();
        sites = simulator->siteConfig();
    }

    // The main window on the test's data directory, its reader runs calling onReader.
    MainWindow& open() {
        sources = std::make_unique<ChapterSources>();
        addOnlineChapterSources(*sources, sites);
        WindowServices services{.state = state,
                                .chapterSources = *sources,
                                .messages = messages,
                                .runModal = [this](QDialog& modal) { runReader(modal); },
                                .sites = sites,
                                .openUrl =
                                    [this](const QUrl& address) {
                                        openedUrls << address.toString();
                                        return true;
                                    }};
        window =
            std::make_unique<MainWindow>(services, DataDirectory::resolve(dir.path(), QString()));
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }

    void runReader(QDialog& modal) {
        auto* reader = qobject_cast<ReaderWindow*>(&modal);
        ASSERT_NE(reader, nullptr);
        handOvers.push_back({window->bookSource(), window->bookAddress()});
        reader->show();
        onReader(*reader);
    }

    NovelSearchTab& novelTab() { return *window->findChild<NovelSearchTab*>(); }
    DownloadTab& downloadTab() { return *window->findChild<DownloadTab*>(); }

    void searchNovels(int site, const char* word) {
        window->组合框1->setCurrentIndex(site);
        window->编辑框_搜索->setText(QString::fromUtf8(word));
        QTest::mouseClick(window->按钮1, Qt::LeftButton);
        ASSERT_TRUE(settle([this] { return novelTab().isBusy(); }));
    }

    void searchDownloads(int site, const char* word) {
        window->组合框2->setCurrentIndex(site);
        window->编辑框2->setText(QString::fromUtf8(word));
        QTest::mouseClick(window->下载搜索, Qt::LeftButton);
        ASSERT_TRUE(settle([this] { return downloadTab().isBusy(); }));
    }

    void clickAndSettle(ReportList& list, int row) {
        clickRow(list, row);
        ASSERT_TRUE(settle([this] { return downloadTab().isBusy(); }));
    }

    // "显示章节名", waiting for the list to be complete.
    static void loadChapters(ReaderWindow& reader) {
        reader.setWindowTitle(QString());
        QTest::mouseClick(reader.按钮7, Qt::LeftButton);
        ASSERT_TRUE(settle([&] { return reader.windowTitle().isEmpty(); }));
    }

    // A click on a chapter row, waiting for its page.
    void showChapter(ReaderWindow& reader, int row) {
        state.chapterPage = "<pending>";
        clickRow(*reader.超级列表章节, row);
        ASSERT_TRUE(settle([this] { return state.chapterPage == "<pending>"; }));
    }

    QTemporaryDir dir;
    ProgramState state;
    std::unique_ptr<ChapterSources> sources;
    RecordingMessageSink messages;
    SiteConfig sites;
    std::function<void(ReaderWindow&)> onReader = [](ReaderWindow&) {};
    std::vector<HandOver> handOvers;
    QStringList openedUrls;
    std::unique_ptr<MainWindow> window;
};

} // namespace mz::test
