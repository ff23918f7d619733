#pragma once

// The reader window "阅读": the chapter list of one book, the text of one chapter,
// previous and next chapter. Nothing is loaded when it opens; its buttons read
// the main window's hand-over when they are pressed.

#include "app/background_task.h"
#include "reader/chapter_source.h"

#include <QDialog>

#include <chrono>
#include <map>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace mz {

class AutoScroller;
class ChapterSources;
class MessageSink;
class ReaderAppearance;
class ReportList;
class SpeechService;

class ReaderWindow : public QDialog {
    Q_OBJECT

  public:
    ReaderWindow(ProgramState& state, const ChapterSources& sources, MessageSink& messages,
                 BookHandOver& handOver, QWidget* parent = nullptr);
    ~ReaderWindow() override;

    void loadChapterList();
    void showChapter();
    void previousChapter();
    void nextChapter();
    void toggleChapterList();
    void layoutReader();
    // speech outlives the window; without one "朗读" does nothing.
    void setSpeech(SpeechService* speech) { speech_ = speech; }
    void readAloud();

    QPushButton* const 按钮1;          // "隐藏"/"显示": the chapter list
    QComboBox* const 组合框2;          // encoding of a local book
    QPushButton* const 按钮7;          // "显示章节名"
    QPushButton* const 按钮2;          // "字体"
    QLabel* const 透明标签1;           // "背景颜色："
    QPushButton* const 颜色选择器1;    // background colour
    QComboBox* const 组合框1;          // auto-scroll speed
    QPushButton* const 按钮3;          // "自动翻行"
    QPushButton* const 按钮4;          // "朗读"
    QLabel* const 透明标签2;           // visible copy of the status
    ReportList* const 超级列表章节;    // 地址 (hidden), 章节名
    QPlainTextEdit* const 编辑框_内容; // the chapter text
    QPushButton* const 按钮5;          // "上一章"
    QPushButton* const 按钮6;          // "下一章"
    QLabel* const 标签_状态显示;       // hidden: loading progress, mirrored to 透明标签2
    QLineEdit* const 编辑框2;          // hidden: the chapter list's row count
    QTimer* const 时钟1;               // status mirror, 100 ms
    QTimer* const 时钟_翻行;           // auto-scroll tick, off until started

    // How long the window lingers after writing the settings as it goes.
    std::chrono::milliseconds closingWait{1000};

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    ChapterSource* sourceFor(const Text& code);
    bool chapterPending() const;
    ReaderContext context(const Text& code);
    void mirrorStatus();
    void showTitle(const QString& suffix);
    // Selects row and shows it, or tells message when the list has no such row.
    void stepTo(int row, const QString& message);

    ProgramState& state_;
    const ChapterSources& sources_;
    MessageSink& messages_;
    BookHandOver& handOver_;
    std::map<Text, std::unique_ptr<ChapterSource>> created_;
    SpeechService* speech_ = nullptr;
    BackgroundTask speechTask_{this}; // the speech request, off the window's thread
    AutoScroller* autoScroller_;
    ReaderAppearance* appearance_;
};

} // namespace mz
