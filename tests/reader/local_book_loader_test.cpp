#include "reader/local_book_loader.h"

#include "gbk.h"
#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace mz {
namespace {

using Mode = BookPieceReader::Mode;

// Everything a load reported, in order.
struct Events {
    std::vector<int> percents;
    int choicesAsked = 0;
    int percentWhenAsked = -1;
    std::shared_ptr<LocalBook> book;
    std::optional<int> stoppedAt;
    bool failed = false;

    bool done() const { return book || stoppedAt || failed; }
};

class LocalBookLoaderTest : public ::testing::Test {
  protected:
    std::filesystem::path write(const std::string& bytes) {
        return test::writeBytes(std::filesystem::path(dir_.path().toStdString()) / "book.txt",
                                bytes);
    }

    void watch(LocalBookLoader& loader, Events& events) {
        QObject::connect(&loader, &LocalBookLoader::progress,
                         [&](int p) { events.percents.push_back(p); });
        QObject::connect(&loader, &LocalBookLoader::completed,
                         [&](std::shared_ptr<LocalBook> b) { events.book = std::move(b); });
        QObject::connect(&loader, &LocalBookLoader::stopped, [&](int p) { events.stoppedAt = p; });
        QObject::connect(&loader, &LocalBookLoader::failed, [&] { events.failed = true; });
    }

    std::function<BookEncoding()> choice(Events& events, BookEncoding encoding) {
        return [&events, encoding] {
            ++events.choicesAsked;
            events.percentWhenAsked = events.percents.empty() ? -1 : events.percents.back();
            return encoding;
        };
    }

    static void waitFor(const Events& events) {
        QElapsedTimer timer;
        timer.start();
        while (!events.done() && timer.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_TRUE(events.done()) << "the load did not finish";
    }

    QTemporaryDir dir_;
};

TEST_F(LocalBookLoaderTest, ReadsDecodesAndFindsChapters) {
    std::string text = test::gbk("书名\r\n第一章 甲\r\n");
    text += std::string(150000, 'x') + test::gbk("\r\n第二章 乙\r\n末");
    LocalBookLoader loader;
    Events events;
    watch(loader, events);
    ASSERT_TRUE(loader.start(write(text), Mode::Text, choice(events, BookEncoding::Ansi)));
    EXPECT_TRUE(loader.isLoading());
    waitFor(events);
    EXPECT_FALSE(loader.isLoading());
    EXPECT_EQ(events.percents, (std::vector<int>{66, 100}));
    EXPECT_EQ(events.choicesAsked, 1);
    EXPECT_EQ(events.percentWhenAsked, 100) << "the encoding is read when the load completes";
    ASSERT_TRUE(events.book);
    EXPECT_EQ(events.book->text, text);
    EXPECT_EQ(test::utf8All(events.book->chapterNames),
              (std::vector<std::string>{"书名\r", "第一章 甲\r", "第二章 乙\r"}));
}

TEST_F(LocalBookLoaderTest, RefusesASecondLoadWhileOneRuns) {
    LocalBookLoader loader;
    Events events;
    watch(loader, events);
    const auto path = write(std::string(300000, 'a'));
    ASSERT_TRUE(loader.start(path, Mode::Text, choice(events, BookEncoding::Ansi)));
    EXPECT_FALSE(loader.start(path, Mode::Text, choice(events, BookEncoding::Ansi)));
    waitFor(events);
    EXPECT_EQ(events.percents, (std::vector<int>{33, 66, 100}));
    EXPECT_EQ(events.choicesAsked, 1);
    Events again;
    watch(loader, again);
    EXPECT_TRUE(loader.start(path, Mode::Text, choice(again, BookEncoding::Ansi)));
    waitFor(again);
}

TEST_F(LocalBookLoaderTest, EndsWithoutABookWhenTheTextStopsEarlyOrTheFileIsMissing) {
    {
        LocalBookLoader loader;
        Events events;
        watch(loader, events);
        std::string bytes(250000, 'a');
        bytes[120000] = '\0';
        ASSERT_TRUE(loader.start(write(bytes), Mode::Text, choice(events, BookEncoding::Ansi)));
        waitFor(events);
        EXPECT_EQ(events.stoppedAt, 80);
        EXPECT_FALSE(events.book);
        EXPECT_EQ(events.choicesAsked, 0);
    }
    {
        LocalBookLoader loader;
        Events events;
        watch(loader, events);
        ASSERT_TRUE(loader.start(std::filesystem::path(dir_.path().toStdString()) / "absent.txt",
                                 Mode::Text, choice(events, BookEncoding::Ansi)));
        waitFor(events);
        EXPECT_TRUE(events.failed);
        EXPECT_FALSE(loader.isLoading());
    }
}

TEST_F(LocalBookLoaderTest, Utf16IsReadAsRawBytes) {
    const std::string utf16 = "\xFF\xFE" + std::string("A\0\r\0\n\0", 6);
    LocalBookLoader loader;
    Events events;
    watch(loader, events);
    ASSERT_TRUE(loader.start(write(utf16), Mode::Raw, choice(events, BookEncoding::AutoDetect)));
    waitFor(events);
    ASSERT_TRUE(events.book);
    EXPECT_EQ(events.book->text, "A\r\n");
    EXPECT_EQ(events.book->chapterNames, std::vector<Text>{"A\r"});
}

TEST_F(LocalBookLoaderTest, DestroyedWhileLoadingIsSafe) {
    const auto path = write(std::string(3000000, 'a'));
    Events events;
    {
        LocalBookLoader loader;
        watch(loader, events);
        ASSERT_TRUE(loader.start(path, Mode::Text, choice(events, BookEncoding::Ansi)));
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(events.book) << "no result arrives from a loader that is gone";
}

} // namespace
} // namespace mz
