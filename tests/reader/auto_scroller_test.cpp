#include "reader/auto_scroller.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace mz {
namespace {

// The controls as the reader window has them, with a recorded next-chapter step.
class AutoScrollerTest : public ::testing::Test {
  protected:
    AutoScrollerTest()
        : speedBox(new QComboBox(&window)),
          button(new QPushButton(QStringLiteral("自动翻行"), &window)), timer(new QTimer(&window)),
          text(new QPlainTextEdit(&window)),
          scroller(
              {speedBox, button, timer, text}, [this] { ++nextChapters; },
              [this] { return chapterPending; }, [this](const QString& m) { messages << m; },
              &window) {
        speedBox->addItems({QStringLiteral("慢"), QStringLiteral("较慢"), QStringLiteral("适中"),
                            QStringLiteral("较快"), QStringLiteral("快"), QString()});
        speedBox->setCurrentIndex(-1);
    }

    void choose(const QString& speed) { speedBox->setCurrentIndex(speedBox->findText(speed)); }

    QWidget window;
    QComboBox* speedBox;
    QPushButton* button;
    QTimer* timer;
    QPlainTextEdit* text;
    int nextChapters = 0;
    bool chapterPending = false;
    QStringList messages;
    AutoScroller scroller;
};

TEST_F(AutoScrollerTest, NeedsASpeed) {
    button->click();
    choose(QString()); // the empty entry
    button->click();
    EXPECT_EQ(messages,
              (QStringList{QStringLiteral("先选择速度！"), QStringLiteral("先选择速度！")}));
    EXPECT_EQ(button->text(), QStringLiteral("自动翻行"));
    EXPECT_FALSE(timer->isActive());
    EXPECT_TRUE(speedBox->isEnabled());
}

TEST_F(AutoScrollerTest, StartsAtTheSpeedAndStopsAgain) {
    const struct {
        const char* speed;
        int period;
    } speeds[] = {{"慢", 600}, {"较慢", 400}, {"适中", 250}, {"较快", 160}, {"快", 100}};
    for (const auto& s : speeds) {
        choose(QString::fromUtf8(s.speed));
        button->click();
        EXPECT_EQ(button->text(), QStringLiteral("停止翻行"));
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), s.period);
        EXPECT_FALSE(speedBox->isEnabled()) << "the speed cannot change while scrolling";
        button->click();
        EXPECT_EQ(button->text(), QStringLiteral("自动翻行"));
        EXPECT_FALSE(timer->isActive());
        EXPECT_TRUE(speedBox->isEnabled());
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(AutoScrollerTest, TicksRemoveLinesThenMoveOn) {
    text->setPlainText(QStringLiteral("\r\n第一段\r\n第二段"));
    choose(QStringLiteral("快"));
    button->click();
    scroller.tick();
    EXPECT_EQ(text->toPlainText(), QStringLiteral("第一段\n第二段"));
    scroller.tick();
    EXPECT_EQ(text->toPlainText(), QStringLiteral("第二段"));
    EXPECT_EQ(nextChapters, 0);
    scroller.tick();
    EXPECT_EQ(text->toPlainText(), QString());
    EXPECT_EQ(nextChapters, 1);
    EXPECT_TRUE(scroller.isScrolling()) << "scrolling goes on in the next chapter";
}

TEST_F(AutoScrollerTest, TickOnAnEmptyBoxStopsScrolling) {
    choose(QStringLiteral("慢"));
    button->click();
    text->clear(); // after "没有下一章啦", or a page without paragraphs
    scroller.tick();
    EXPECT_EQ(nextChapters, 0);
    EXPECT_EQ(button->text(), QStringLiteral("自动翻行"));
    EXPECT_FALSE(timer->isActive());
    EXPECT_TRUE(speedBox->isEnabled());
}

TEST_F(AutoScrollerTest, TicksWaitForAChapterOnItsWay) {
    choose(QStringLiteral("慢"));
    button->click();
    text->setPlainText(QStringLiteral("末行"));
    scroller.tick();
    ASSERT_EQ(nextChapters, 1);
    chapterPending = true; // the next chapter is being fetched; the box stays empty
    scroller.tick();
    scroller.tick();
    EXPECT_TRUE(scroller.isScrolling());
    EXPECT_EQ(nextChapters, 1);
    chapterPending = false;
    text->setPlainText(QStringLiteral("\r\n新章首段"));
    scroller.tick();
    EXPECT_EQ(text->toPlainText(), QStringLiteral("新章首段"));
    EXPECT_TRUE(scroller.isScrolling());
}

TEST_F(AutoScrollerTest, TimerDrivesTheTicks) {
    QString thirty;
    for (int i = 0; i < 30; ++i)
        thirty += QStringLiteral("一行\r\n");
    text->setPlainText(thirty);
    choose(QStringLiteral("快"));
    button->click();
    timer->setInterval(1); // the same ticks, sooner
    QElapsedTimer clock;
    clock.start();
    while (nextChapters == 0 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(nextChapters, 1);
    EXPECT_TRUE(text->toPlainText().isEmpty());
}

} // namespace
} // namespace mz
