// The 下载 page against the site simulator.

#include "app/online_window_fixture.h"

#include "app/tab_control.h"

#include <QAction>
#include <QMenu>

namespace mz::test {
namespace {

using DownloadTabTest = OnlineWindowTest;

TEST_F(DownloadTabTest, XiashuListsResultsThenZipLinksBeforeTextLinks) {
    MainWindow& main = open();
    const Text base = simulator->baseAddress();
    searchDownloads(0, "江湖");
    EXPECT_EQ(listRows(*main.超级列表框3),
              (Rows{{"/xs/book.php?id=1001", gbk("江湖夜雨")}, {"/xs/top.html", gbk("热门推荐")}}));
    EXPECT_EQ(main.windowTitle(), "墨舟----共获取到：2条有关于江湖");

    clickAndSettle(*main.超级列表框3, 0);
    EXPECT_EQ(lastRequest(), "/1001/down");
    EXPECT_EQ(main.编辑框4->text(), "1001");
    EXPECT_EQ(listRows(*main.超级列表框4),
              (Rows{{base + "/xs/files/1001.zip", gbk("ZIP全本下载")},
                    {base + "/xs/files/1001.bak.zip", gbk("ZIP备用下载")},
                    {base + "/xs/files/1001.txt", gbk("TXT全本下载")},
                    {base + "/xs/files/1001.bak.txt", gbk("TXT备用下载")}}));
    EXPECT_EQ(main.windowTitle(), "墨舟----共获取到：2条有关于江湖") << "links leave the title";
}

// The book id is the text between the first "id=" and the next one.
TEST_F(DownloadTabTest, XiashuAddressWithIdTwiceAsksForTheTextBetween) {
    MainWindow& main = open();
    main.组合框2->setCurrentIndex(0);
    main.超级列表框3->appendRows({{"/xs/book.php?id=1002id=1001", "x"}});
    clickAndSettle(*main.超级列表框3, 0);
    EXPECT_EQ(main.编辑框4->text(), "1002");
    EXPECT_EQ(simulator->requests(), std::vector<std::string>{"/1002/down"});
    ASSERT_EQ(main.超级列表框4->rowCount(), 4);
    EXPECT_TRUE(main.超级列表框4->cell(0, 0).ends_with("/xs/files/1002.zip"));
}

// Without an "id=" there is no book to ask for: no request, both lists kept.
TEST_F(DownloadTabTest, XiashuAddressWithoutIdSendsNothing) {
    MainWindow& main = open();
    searchDownloads(0, "江湖");
    clickAndSettle(*main.超级列表框3, 0);
    const Rows results = listRows(*main.超级列表框3);
    const Rows links = listRows(*main.超级列表框4);
    simulator->clearRequests();
    clickAndSettle(*main.超级列表框3, 1);
    EXPECT_TRUE(simulator->requests().empty());
    EXPECT_EQ(listRows(*main.超级列表框3), results);
    EXPECT_EQ(listRows(*main.超级列表框4), links);
    EXPECT_EQ(main.编辑框4->text(), "1001");
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(DownloadTabTest, QishuJoinsTheSplitTitleAndListsItsLinks) {
    MainWindow& main = open();
    const Text base = simulator->baseAddress();
    searchDownloads(1, "问剑");
    EXPECT_EQ(listRows(*main.超级列表框3), (Rows{{"/qishu/1002.html", gbk("星河问剑")}}));
    clickAndSettle(*main.超级列表框3, 0);
    EXPECT_EQ(lastRequest(), "/qishu/1002.html");
    EXPECT_EQ(listRows(*main.超级列表框4),
              (Rows{{base + "/qishu/files/1002.txt", gbk("TXT电子书下载")},
                    {base + "/qishu/files/1002.rar", gbk("RAR压缩包下载")}}));
}

TEST_F(DownloadTabTest, EmptyWordStillSearchesAndCountsZero) {
    MainWindow& main = open();
    const struct {
        int site;
        const char* request;
    } cases[] = {{0, "/search.html?searchkey=&searchtype=all"},
                 {1, "/search.asp?word=&m=0&s=0&x=20&y=4"}};
    for (const auto& c : cases) {
        searchDownloads(c.site, "");
        EXPECT_EQ(lastRequest(), c.request);
        EXPECT_EQ(main.超级列表框3->rowCount(), 0);
        EXPECT_EQ(main.windowTitle(), "墨舟----共获取到：0条有关于");
    }
}

TEST_F(DownloadTabTest, NoSiteChosenAsksForOneForSearchAndLinks) {
    MainWindow& main = open();
    main.超级列表框3->appendRows({{"/qishu/1002.html", "x"}});
    QTest::mouseClick(main.下载搜索, Qt::LeftButton);
    clickRow(*main.超级列表框3, 0);
    EXPECT_EQ(messages.messages, (QStringList{"先选择网站！", "先选择网站！"}));
    EXPECT_TRUE(simulator->requests().empty());
    EXPECT_EQ(main.超级列表框3->rowCount(), 1);
    EXPECT_EQ(main.windowTitle(), "墨舟");
}

// "下载" on a search result switches to the 下载 page with the title filled in,
// and searches there when a download site is chosen.
TEST_F(DownloadTabTest, DownloadFromASearchResultCarriesTheTitleOver) {
    for (bool siteChosen : {true, false}) {
        SCOPED_TRACE(siteChosen);
        messages.messages.clear();
        MainWindow& main = open();
        searchNovels(0, "雨");
        main.超级列表框2->selectRow(1);
        if (siteChosen)
            main.组合框2->setCurrentIndex(1);
        simulator->clearRequests();
        main.菜单->findChild<QAction*>(QStringLiteral("下载"))->trigger();
        ASSERT_TRUE(settle([this] { return downloadTab().isBusy(); }));
        EXPECT_EQ(main.高级选择夹1->currentIndex(), 2);
        EXPECT_EQ(main.编辑框2->text(), "雨落青石巷");
        if (siteChosen) {
            EXPECT_EQ(simulator->requests().size(), 1u);
            EXPECT_EQ(listRows(*main.超级列表框3), (Rows{{"/qishu/1004.html", gbk("雨落青石巷")}}));
            EXPECT_TRUE(messages.messages.isEmpty());
        } else {
            EXPECT_TRUE(simulator->requests().empty());
            EXPECT_EQ(messages.messages, QStringList{"先选择网站！"});
        }
        window.reset();
    }
}

// Only http and https addresses reach the browser; anything else a page
// offers is refused with a message.
TEST_F(DownloadTabTest, OnlyWebAddressesAreHandedToTheBrowser) {
    MainWindow& main = open();
    searchDownloads(1, "问剑");
    clickAndSettle(*main.超级列表框3, 0);
    const Text link = main.超级列表框4->cell(0, 0);
    clickRow(*main.超级列表框4, 0);
    EXPECT_EQ(openedUrls, QStringList{toQString(link)}) << "passed unchanged";

    const struct {
        const char* address;
        bool opened;
    } cases[] = {
        {"https://example.com/down/1.zip", true},
        {"HTTP://example.com/a b.txt", true},
        {"/qishu/files/1002.txt", false},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"C:\\Windows\\system32\\calc.exe", false},
        {"http:///etc/passwd", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        openedUrls.clear();
        messages.messages.clear();
        main.超级列表框4->clearRows();
        main.超级列表框4->appendRows({{c.address, "x"}});
        clickRow(*main.超级列表框4, 0);
        EXPECT_EQ(openedUrls.size(), c.opened ? 1 : 0);
        EXPECT_EQ(messages.messages.size(), c.opened ? 0 : 1);
    }
    openedUrls.clear();
    clickRow(*main.超级列表框4, -1);
    EXPECT_TRUE(openedUrls.isEmpty()) << "a click beside the rows opens nothing";
}

} // namespace
} // namespace mz::test
