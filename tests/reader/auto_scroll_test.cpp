#include "reader/auto_scroll.h"

#include "gbk.h"

#include <gtest/gtest.h>

namespace mz {
namespace {

using Then = ScrollTick::Then;

TEST(AutoScroll, SpeedTable) {
    const struct {
        const char* speed;
        std::optional<int> period;
    } cases[] = {
        {"慢", 600}, {"较慢", 400},      {"适中", 250},          {"较快", 160},
        {"快", 100}, {"", std::nullopt}, {"很快", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scrollPeriod(QString::fromUtf8(c.speed)), c.period) << c.speed;
}

TEST(AutoScroll, TickRemovesTheFirstLineAndItsLineEnd) {
    const struct {
        const char* text;
        const char* left;
        Then then;
    } cases[] = {
        {"第一行\r\n第二行\r\n", "第二行\r\n", Then::Nothing},
        {"\r\n第一段", "第一段", Then::Nothing}, // an online chapter's leading break
        {"第二行\r\n", "", Then::NextChapter},
        {"没有换行", "", Then::NextChapter},
        {"a\nb\r\nc", "c", Then::Nothing}, // a lone LF does not end the line
        {"", "", Then::Stop},              // nothing left: scrolling stops
    };
    for (const auto& c : cases) {
        const ScrollTick tick = scrollTick(test::gbk(c.text));
        EXPECT_EQ(test::utf8(tick.text), c.left) << c.text;
        EXPECT_EQ(tick.then, c.then) << c.text;
    }
}

TEST(AutoScroll, ThirtyLinesTakeThirtyTicks) {
    Text text;
    for (int i = 0; i < 30; ++i)
        text += test::gbk("一行文字\r\n");
    int ticks = 0;
    ScrollTick tick{text, Then::Nothing};
    while (tick.then == Then::Nothing) {
        tick = scrollTick(tick.text);
        ++ticks;
    }
    EXPECT_EQ(ticks, 30);
    EXPECT_EQ(tick.then, Then::NextChapter);
}

} // namespace
} // namespace mz
