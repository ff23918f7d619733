#pragma once

// Auto-scroll in the reader window: the speed box, the start/stop button and the
// tick timer. Each tick removes the first line of the chapter text; when the text
// is used up the next chapter is shown, and scrolling goes on there.

#include <QObject>

#include <functional>

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace mz {

class AutoScroller : public QObject {
    Q_OBJECT

  public:
    struct Controls {
        QComboBox* speedBox;  // 组合框1
        QPushButton* button;  // 按钮3
        QTimer* timer;        // 时钟_翻行
        QPlainTextEdit* text; // 编辑框_内容
    };

    // nextChapter shows the next chapter (or tells there is none); chapterPending
    // says a chapter is still on its way (ticks then wait for it); inform tells the
    // user a message.
    AutoScroller(Controls controls, std::function<void()> nextChapter,
                 std::function<bool()> chapterPending, std::function<void(const QString&)> inform,
                 QObject* parent);

    void toggle(); // click on the button
    void tick();   // timeout of the timer

    bool isScrolling() const;

  private:
    void start();
    void stop();

    Controls controls_;
    std::function<void()> nextChapter_;
    std::function<bool()> chapterPending_;
    std::function<void(const QString&)> inform_;
};

} // namespace mz
