// The 小说搜索 page against the site simulator.

#include "app/online_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>

namespace mz::test {
namespace {

using NovelSearchTabTest = OnlineWindowTest;

TEST_F(NovelSearchTabTest, EachSiteFillsTheColumnsAndTheTitleCounts) {
    MainWindow& main = open();
    const Text base = simulator->baseAddress();
    const struct {
        int site;
        std::vector<Text> row;
    } cases[] = {
        {0,
         {"/bqg/1001/", gbk("连载"), gbk("江湖夜雨"), gbk("沈听澜"), gbk("第三章 一页剑谱"),
          "2024-05-01"}},
        {1, {"/sg/1001/", gbk("武侠"), gbk("江湖夜雨"), gbk("沈听澜"), "", ""}},
        {2,
         {base + "/e8/1001/", gbk("[武侠]"), gbk("江湖夜雨"), gbk("沈听澜"), gbk("第三章 一页剑谱"),
          "2024-05-01"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.site);
        searchNovels(c.site, "江湖");
        EXPECT_EQ(listRows(*main.超级列表框2), Rows{c.row});
        EXPECT_EQ(main.windowTitle(), "墨舟----共获取到：1条有关于江湖");
    }
    EXPECT_EQ(state.searchPage.empty(), false) << "the last page is kept";
}

TEST_F(NovelSearchTabTest, WordWithSpaceAndAmpersandGoesOutPerSite) {
    MainWindow& main = open();
    const struct {
        int site;
        std::string query;
    } cases[] = {
        {0, "searchkey=%E6%B5%AE%E7%94%9F%20&%20%E5%8D%8A%E6%97%A5"},
        {1, "q=%B8%A1%C9%FA%20%26%20%B0%EB%C8%D5"},
        {2, "q=%E6%B5%AE%E7%94%9F%20&%20%E5%8D%8A%E6%97%A5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.site);
        searchNovels(c.site, "浮生 & 半日");
        EXPECT_TRUE(lastRequest().ends_with(c.query)) << lastRequest();
        ASSERT_EQ(main.超级列表框2->rowCount(), 1);
        EXPECT_EQ(main.超级列表框2->cell(0, 2), gbk("浮生 & 半日"));
        EXPECT_EQ(main.windowTitle(), "墨舟----共获取到：1条有关于浮生 & 半日");
    }
}

TEST_F(NovelSearchTabTest, EmptyWordOrNoMatchEmptiesTheListAndCountsZero) {
    MainWindow& main = open();
    for (int site : {0, 1, 2}) {
        SCOPED_TRACE(site);
        searchNovels(site, "雨");
        ASSERT_EQ(main.超级列表框2->rowCount(), 2);

        searchNovels(site, "");
        EXPECT_TRUE(lastRequest().ends_with("=")) << "the request still goes out";
        EXPECT_EQ(main.超级列表框2->rowCount(), 0);
        EXPECT_EQ(main.windowTitle(), "墨舟----共获取到：0条有关于");

        searchNovels(site, "查无此书");
        EXPECT_EQ(main.超级列表框2->rowCount(), 0);
        EXPECT_EQ(main.windowTitle(), "墨舟----共获取到：0条有关于查无此书");
    }
    EXPECT_TRUE(lastRequest().starts_with("/search?siteid=" + simulator->e8SiteId + "&q="));
}

TEST_F(NovelSearchTabTest, NoSiteChosenAsksForOneAndSendsNothing) {
    MainWindow& main = open();
    main.编辑框_搜索->setText(QStringLiteral("雨"));
    QTest::mouseClick(main.按钮1, Qt::LeftButton);
    EXPECT_EQ(messages.messages, QStringList{"先选择网站！"});
    EXPECT_FALSE(novelTab().isBusy());
    EXPECT_TRUE(simulator->requests().empty());
    EXPECT_EQ(main.windowTitle(), "墨舟");
}

TEST_F(NovelSearchTabTest, ASecondSearchReplacesEveryRow) {
    MainWindow& main = open();
    searchNovels(0, "雨");
    ASSERT_EQ(main.超级列表框2->rowCount(), 2);
    searchNovels(0, "星河");
    EXPECT_EQ(listRows(*main.超级列表框2).size(), 1u);
    EXPECT_EQ(main.超级列表框2->cell(0, 2), gbk("星河问剑"));
}

// A search started while another is still fetching drops the earlier one: its
// rows never show and its count never reaches the title.
TEST_F(NovelSearchTabTest, ASearchStartedDuringAnotherReplacesIt) {
    MainWindow& main = open();
    QSignalSpy finished(&novelTab(), &NovelSearchTab::searchFinished);
    main.组合框1->setCurrentIndex(0);
    main.编辑框_搜索->setText(QStringLiteral("雨"));
    QTest::mouseClick(main.按钮1, Qt::LeftButton);
    main.编辑框_搜索->setText(QStringLiteral("星河"));
    QTest::mouseClick(main.按钮1, Qt::LeftButton);
    ASSERT_TRUE(settle([this] { return novelTab().isBusy(); }));
    QTest::qWait(50);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(listRows(*main.超级列表框2).size(), 1u);
    EXPECT_EQ(main.windowTitle(), "墨舟----共获取到：1条有关于星河");
}

// The code comes from 组合框1 at the click, the address from the clicked row.
TEST_F(NovelSearchTabTest, OpeningAResultHandsOverTheSiteChosenAtTheClick) {
    MainWindow& main = open();
    const Text base = simulator->baseAddress();
    searchNovels(0, "江湖");
    clickRow(*main.超级列表框2, 0);
    searchNovels(1, "江湖");
    clickRow(*main.超级列表框2, 0);
    searchNovels(2, "江湖");
    clickRow(*main.超级列表框2, 0);
    searchNovels(0, "江湖");
    main.组合框1->setCurrentIndex(2);
    clickRow(*main.超级列表框2, 0);
    EXPECT_EQ(handOvers, (std::vector<HandOver>{{"1", "/bqg/1001/"},
                                                {"2", "/sg/1001/"},
                                                {"5", base + "/e8/1001/"},
                                                {"5", "/bqg/1001/"}}));
}

TEST_F(NovelSearchTabTest, RightClickShowsTheMenuBesideTheMouse) {
    MainWindow& main = open();
    searchNovels(0, "雨");
    const QPoint point = rowPoint(*main.超级列表框2, 1);
    const QPoint global = main.超级列表框2->viewport()->mapToGlobal(point);
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, global);
    QApplication::sendEvent(main.超级列表框2->viewport(), &event);
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.菜单->isVisible(); }));
    EXPECT_EQ(main.菜单->pos(), global + QPoint(3, 3));
    main.菜单->close();
}

// "加入收藏", then a new run on the same data directory: the bookshelf row opens
// with the bookshelf code of its site and its chapters load from that site.
TEST_F(NovelSearchTabTest, AFavouriteOpensFromTheBookshelfAfterARestart) {
    const Text base = simulator->baseAddress();
    const struct {
        int site;
        HandOver handOver;
        const char* firstRequest;
    } cases[] = {
        {0, {"3", "/bqg/1002/"}, "/bqg/1002/"},
        {1, {"4", "/sg/1002/"}, "/sg/1002/"},
        {2, {"6", base + "/e8/1002/"}, "/e8/1002/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.site);
        {
            MainWindow& main = open();
            searchNovels(c.site, "星河");
            main.超级列表框2->selectRow(0);
            main.菜单->findChild<QAction*>(QStringLiteral("加入收藏"))->trigger();
            main.close();
        }
        window.reset();
        handOvers.clear();
        std::vector<Text> chapters;
        onReader = [&](ReaderWindow& reader) {
            simulator->clearRequests();
            loadChapters(reader);
            chapters.clear();
            for (const auto& row : listRows(*reader.超级列表章节))
                chapters.push_back(row[1]);
        };
        MainWindow& again = open();
        ASSERT_EQ(again.超级列表框1->rowCount(), 1);
        clickRow(*again.超级列表框1, 0);
        ASSERT_EQ(handOvers.size(), 1u);
        EXPECT_EQ(handOvers[0], c.handOver);
        EXPECT_EQ(simulator->requests(), std::vector<std::string>{c.firstRequest});
        EXPECT_EQ(chapters, (std::vector<Text>{gbk("第一章 山门初雪"), gbk("第二章 问剑台"),
                                               gbk("第三章 铁剑生光")}));
        // Leave the shelf empty for the next site.
        again.超级列表框1->clearRows();
        again.close();
        window.reset();
        onReader = [](ReaderWindow&) {};
    }
}

} // namespace
} // namespace mz::test
