#include "reader/font_choice_dialog.h"
#include "reader/reader_appearance.h"
#include "reader/reader_settings.h"

#include "gbk.h"
#include "text/qt_text.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace mz {
namespace {

// Answers the next modal font dialog: picks font and colour and accepts, or cancels.
void answerFontDialog(std::optional<std::pair<QFont, QColor>> choice) {
    QTimer::singleShot(0, [choice] {
        auto* dialog = qobject_cast<FontChoiceDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (!choice) {
            dialog->reject();
            return;
        }
        dialog->fontPicker->setCurrentFont(choice->first);
        dialog->setSelectedColor(choice->second);
        dialog->accept();
    });
}

class ReaderAppearanceTest : public ::testing::Test {
  protected:
    QString path() const { return dir.filePath(QStringLiteral("config.ini")); }

    // A fresh "window" with its controls, the settings applied.
    std::unique_ptr<ReaderAppearance> open() {
        window = std::make_unique<QWidget>();
        text = new QPlainTextEdit(window.get());
        fontButton = new QPushButton(window.get());
        picker = new QPushButton(window.get());
        return std::make_unique<ReaderAppearance>(
            ReaderAppearance::Controls{text, fontButton, picker}, path(),
            [this](const QString& m) { messages << m; }, window.get());
    }

    QTemporaryDir dir;
    std::unique_ptr<QWidget> window;
    QPlainTextEdit* text = nullptr;
    QPushButton* fontButton = nullptr;
    QPushButton* picker = nullptr;
    QStringList messages;
};

TEST(WindowsColor, LowByteIsRed) {
    EXPECT_EQ(toWindowsColor(QColor(255, 0, 0)), 255);
    EXPECT_EQ(toWindowsColor(QColor(0, 0, 255)), 0xFF0000);
    EXPECT_EQ(fromWindowsColor(16777215), QColor(Qt::white));
    EXPECT_EQ(fromWindowsColor(0x00FF80), QColor(0x80, 0xFF, 0));
}

TEST_F(ReaderAppearanceTest, FirstRunKeepsTheBoxAndClosingWritesAllFourKeys) {
    auto appearance = open();
    const QFont created = text->font();
    const QColor base = appearance->backgroundColor();
    EXPECT_EQ(text->font(), created);
    ASSERT_TRUE(appearance->save());
    const ReaderSettings saved = readReaderSettings(path());
    EXPECT_EQ(saved.fontName, fromQString(created.family()));
    EXPECT_EQ(saved.fontSize, created.pointSize());
    EXPECT_EQ(saved.textColor, toWindowsColor(appearance->textColor()));
    EXPECT_EQ(saved.backgroundColor, toWindowsColor(base));
}

TEST_F(ReaderAppearanceTest, FileValuesAreAppliedWhenTheWindowOpens) {
    ASSERT_TRUE(writeReaderSettings(path(), "Noto Sans CJK SC", 17, 255, 16777215));
    auto appearance = open();
    EXPECT_EQ(text->font().family(), QStringLiteral("Noto Sans CJK SC"));
    EXPECT_EQ(text->font().pointSize(), 17);
    EXPECT_EQ(appearance->textColor(), QColor(255, 0, 0));
    EXPECT_EQ(appearance->backgroundColor(), QColor(Qt::white));
}

TEST_F(ReaderAppearanceTest, LettersInAColourGiveBlack) {
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(test::gbk("[字体]\r\n背景颜色=white\r\n").c_str());
    file.close();
    auto appearance = open();
    EXPECT_EQ(appearance->backgroundColor(), QColor(Qt::black));
}

TEST_F(ReaderAppearanceTest, FontDialogSetsFaceSizeAndColourOnly) {
    auto appearance = open();
    QFont chosen(QStringLiteral("Noto Serif CJK SC"), 21);
    chosen.setBold(true);
    chosen.setUnderline(true);
    answerFontDialog(std::make_pair(chosen, QColor(0, 0, 255)));
    fontButton->click();
    EXPECT_EQ(text->font().family(), chosen.family());
    EXPECT_EQ(text->font().pointSize(), 21);
    EXPECT_FALSE(text->font().bold());
    EXPECT_FALSE(text->font().underline());
    EXPECT_EQ(appearance->textColor(), QColor(0, 0, 255));
}

TEST_F(ReaderAppearanceTest, FontSizeInPixelsBecomesPoints) {
    auto appearance = open();
    QFont chosen(QStringLiteral("Noto Sans CJK SC"));
    chosen.setPixelSize(text->logicalDpiY() / 3); // a third of an inch: 24 points
    answerFontDialog(std::make_pair(chosen, QColor(Qt::black)));
    fontButton->click();
    EXPECT_EQ(text->font().pointSize(), 24);
}

TEST_F(ReaderAppearanceTest, CancelledFontDialogChangesNothing) {
    ASSERT_TRUE(writeReaderSettings(path(), "Noto Sans CJK SC", 13, 128, 0));
    auto appearance = open();
    const QFont before = text->font();
    answerFontDialog(std::nullopt);
    fontButton->click();
    EXPECT_EQ(text->font(), before);
    EXPECT_EQ(appearance->textColor(), fromWindowsColor(128));
    ASSERT_TRUE(appearance->save());
    const ReaderSettings saved = readReaderSettings(path());
    EXPECT_EQ(saved.fontSize, 13);
    EXPECT_EQ(saved.textColor, 128);
}

TEST_F(ReaderAppearanceTest, PickedBackgroundReachesTheNextWindowButNotItsPicker) {
    auto first = open();
    const QColor initialPicker = first->pickerColor();
    first->setPickerColor(QColor(10, 20, 30));
    EXPECT_EQ(first->backgroundColor(), QColor(10, 20, 30));
    ASSERT_TRUE(first->save());
    first.reset();
    auto second = open();
    EXPECT_EQ(second->backgroundColor(), QColor(10, 20, 30));
    EXPECT_EQ(second->pickerColor(), initialPicker);
}

TEST_F(ReaderAppearanceTest, FailedWriteIsTold) {
    auto appearance = open();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("config.ini"))); // a folder in the way
    EXPECT_FALSE(appearance->save());
    EXPECT_EQ(messages.size(), 1);
}

} // namespace
} // namespace mz
