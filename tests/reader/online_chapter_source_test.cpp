// Chapter lists and chapter texts of online books, from a search result to the
// reader window, against the site simulator.

#include "app/online_window_fixture.h"

#include <algorithm>

namespace mz::test {
namespace {

using OnlineChapterSourceTest = OnlineWindowTest;

QString lines(std::initializer_list<const char*> paragraphs) {
    QString text;
    for (const char* paragraph : paragraphs)
        text += QStringLiteral("\n") + QString::fromUtf8(paragraph);
    return text;
}

TEST_F(OnlineChapterSourceTest, IndexAndChapterOfEachSite) {
    const QString second =
        lines({"来人是十年前的师兄，鬓边已经有了白发。", "“师父的剑谱，你还留着吗？”师兄问得很慢。",
               "沈七笑了笑，说剑谱早就烧了，只记得第一页。"});
    const struct {
        int site;
        Rows index;
        std::string chapterRequest;
        QString text;
    } cases[] = {
        // Relative links, joined to the base and the book's address.
        {0,
         {{"1.html", gbk("第一章 夜雨孤灯")},
          {"2.html", gbk("第二章 渡口旧人")},
          {"3.html", gbk("第三章 一页剑谱")}},
         "/bqg/1001/2.html",
         second},
        // The newest-chapter rows above the list lack the tab: no rows for them.
        {1,
         {{"/sg/1001/1.html", gbk("第一章 夜雨孤灯")},
          {"/sg/1001/2.html", gbk("第二章 渡口旧人")},
          {"/sg/1001/3.html", gbk("第三章 一页剑谱")}},
         "/sg/1001/2.html",
         second},
        // Four &nbsp; of indent, two captured with the text.
        {2,
         {{"1.html", gbk("第一章 夜雨孤灯")},
          {"2.html", gbk("第二章 渡口旧人")},
          {"3.html", gbk("第三章 一页剑谱")}},
         "/e8/1001/2.html",
         lines({"&nbsp;&nbsp;来人是十年前的师兄，鬓边已经有了白发。",
                "&nbsp;&nbsp;“师父的剑谱，你还留着吗？”师兄问得很慢。",
                "&nbsp;&nbsp;沈七笑了笑，说剑谱早就烧了，只记得第一页。"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.site);
        bool ran = false;
        onReader = [&](ReaderWindow& reader) {
            ran = true;
            loadChapters(reader);
            EXPECT_EQ(listRows(*reader.超级列表章节), c.index);
            EXPECT_EQ(reader.windowTitle(), "阅读----共获取取：3章");
            EXPECT_EQ(reader.编辑框_内容->toPlainText(), "*") << "loading shows no chapter";
            showChapter(reader, 1);
            EXPECT_EQ(lastRequest(), c.chapterRequest);
            EXPECT_EQ(reader.编辑框_内容->toPlainText(), c.text);
            EXPECT_EQ(reader.编辑框_内容->textCursor().position(), 1);
            EXPECT_FALSE(reader.编辑框_内容->textCursor().hasSelection());
            EXPECT_EQ(reader.windowTitle(), "阅读----共获取取：3章----第二章 渡口旧人");
            EXPECT_EQ(state.currentChapter, 1);
        };
        MainWindow& main = open();
        searchNovels(c.site, "江湖");
        clickRow(*main.超级列表框2, 0);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(state.chapterIndexPage.empty());
        window.reset();
    }
}

TEST_F(OnlineChapterSourceTest, UpperCaseTagsStillGiveRows) {
    onReader = [&](ReaderWindow& reader) {
        loadChapters(reader);
        EXPECT_EQ(listRows(*reader.超级列表章节), (Rows{{"1.html", gbk("第一章 青石巷")},
                                                        {"2.html", gbk("第二章 旧书店")},
                                                        {"3.html", gbk("第三章 诗经")}}));
    };
    MainWindow& main = open();
    searchNovels(0, "青石巷");
    clickRow(*main.超级列表框2, 0);
}

// Each site serves the chapter still being written without paragraphs.
TEST_F(OnlineChapterSourceTest, ChapterWithoutParagraphsLeavesTheBoxEmpty) {
    for (int site : {0, 1, 2}) {
        SCOPED_TRACE(site);
        onReader = [&](ReaderWindow& reader) {
            loadChapters(reader);
            ASSERT_EQ(reader.超级列表章节->rowCount(), 4);
            showChapter(reader, 2);
            EXPECT_FALSE(reader.编辑框_内容->toPlainText().isEmpty());
            showChapter(reader, 3);
            EXPECT_EQ(reader.编辑框_内容->toPlainText(), "");
        };
        MainWindow& main = open();
        searchNovels(site, "长安");
        clickRow(*main.超级列表框2, 0);
        window.reset();
    }
}

TEST_F(OnlineChapterSourceTest, LoadingAgainReplacesTheRows) {
    onReader = [&](ReaderWindow& reader) {
        loadChapters(reader);
        reader.超级列表章节->selectRow(2);
        loadChapters(reader);
        EXPECT_EQ(reader.超级列表章节->rowCount(), 3);
        EXPECT_EQ(reader.超级列表章节->selectedRow(), -1);
        // Two loads in a row: the first one's rows never join the second's.
        QTest::mouseClick(reader.按钮7, Qt::LeftButton);
        loadChapters(reader);
        QTest::qWait(50);
        EXPECT_EQ(reader.超级列表章节->rowCount(), 3);
    };
    MainWindow& main = open();
    searchNovels(1, "星河");
    clickRow(*main.超级列表框2, 0);
}

// "下一章" walks the list through the same chapter flow.
TEST_F(OnlineChapterSourceTest, NextChapterFetchesTheFollowingRow) {
    onReader = [&](ReaderWindow& reader) {
        loadChapters(reader);
        showChapter(reader, 0);
        state.chapterPage = "<pending>";
        QTest::mouseClick(reader.按钮6, Qt::LeftButton);
        ASSERT_TRUE(settle([this] { return state.chapterPage == "<pending>"; }));
        EXPECT_EQ(lastRequest(), "/e8/1002/2.html");
        EXPECT_TRUE(reader.编辑框_内容->toPlainText().contains(QStringLiteral("问剑台上")));
    };
    MainWindow& main = open();
    searchNovels(2, "星河");
    clickRow(*main.超级列表框2, 0);
}

// Auto-scroll runs out of a chapter and goes on in the next one, which arrives
// from a slow site several ticks later.
TEST_F(OnlineChapterSourceTest, AutoScrollCarriesOnIntoTheFetchedNextChapter) {
    onReader = [&](ReaderWindow& reader) {
        loadChapters(reader);
        showChapter(reader, 0);
        simulator->setAnswerDelay(std::chrono::milliseconds(350));
        reader.组合框1->setCurrentIndex(reader.组合框1->findText(QStringLiteral("快")));
        QTest::mouseClick(reader.按钮3, Qt::LeftButton);
        ASSERT_TRUE(settle([&] { return state.currentChapter == 0; }));
        ASSERT_TRUE(settle([&] { return reader.编辑框_内容->toPlainText().isEmpty(); }));
        EXPECT_EQ(state.currentChapter, 1);
        EXPECT_EQ(reader.按钮3->text(), QStringLiteral("停止翻行"));
        EXPECT_TRUE(reader.时钟_翻行->isActive()) << "the wait for the page is not the end";
        QTest::mouseClick(reader.按钮3, Qt::LeftButton);
    };
    MainWindow& main = open();
    searchNovels(2, "星河");
    clickRow(*main.超级列表框2, 0);
}

// The reader closes while its pages are still on their way: their results are
// dropped with the window.
TEST_F(OnlineChapterSourceTest, ClosingTheReaderDropsTheFlowsInProgress) {
    onReader = [&](ReaderWindow& reader) {
        loadChapters(reader);
        state.chapterPage = "<pending>";
        clickRow(*reader.超级列表章节, 0);
        QTest::mouseClick(reader.按钮7, Qt::LeftButton);
    };
    MainWindow& main = open();
    searchNovels(0, "江湖");
    clickRow(*main.超级列表框2, 0);
    QTest::qWait(300);
    const auto requests = simulator->requests();
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "/bqg/1001/1.html"), 1);
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "/bqg/1001/"), 2);
    EXPECT_EQ(state.chapterPage, "<pending>");
}

} // namespace
} // namespace mz::test
