#include "reader/auto_scroller.h"

#include "reader/auto_scroll.h"
#include "text/qt_text.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace mz {
namespace {

const QString startCaption = QStringLiteral("自动翻行");
const QString stopCaption = QStringLiteral("停止翻行");

// The box holds paragraphs; the tick counts bytes of the text with CR LF line ends.
Text boxText(const QPlainTextEdit* box) {
    QString text = box->toPlainText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return fromQString(text);
}

} // namespace

AutoScroller::AutoScroller(Controls controls, std::function<void()> nextChapter,
                           std::function<bool()> chapterPending,
                           std::function<void(const QString&)> inform, QObject* parent)
    : QObject(parent), controls_(controls), nextChapter_(std::move(nextChapter)),
      chapterPending_(std::move(chapterPending)), inform_(std::move(inform)) {
    connect(controls_.button, &QPushButton::clicked, this, &AutoScroller::toggle);
    connect(controls_.timer, &QTimer::timeout, this, &AutoScroller::tick);
}

bool AutoScroller::isScrolling() const {
    return controls_.button->text() == stopCaption;
}

void AutoScroller::toggle() {
    if (controls_.speedBox->currentText().isEmpty()) {
        inform_(QStringLiteral("先选择速度！"));
        return;
    }
    if (isScrolling())
        stop();
    else
        start();
}

void AutoScroller::start() {
    controls_.button->setText(stopCaption);
    // Only the five speed names set a period; anything else keeps the one it had.
    if (const auto period = scrollPeriod(controls_.speedBox->currentText())) {
        controls_.timer->setInterval(*period);
        controls_.timer->start();
    }
    controls_.speedBox->setEnabled(false);
}

void AutoScroller::stop() {
    controls_.button->setText(startCaption);
    controls_.timer->stop();
    controls_.timer->setInterval(0);
    controls_.speedBox->setEnabled(true);
}

void AutoScroller::tick() {
    // An online chapter arrives a while after the step to it; its empty box is
    // not the end of the book.
    if (chapterPending_())
        return;
    const ScrollTick result = scrollTick(boxText(controls_.text));
    if (result.then == ScrollTick::Then::Stop) {
        // Nothing left to scroll (after the last chapter, or an empty page):
        // stopping beats telling "没有下一章啦" again on every tick.
        stop();
        return;
    }
    controls_.text->setPlainText(toQString(result.text));
    if (result.then == ScrollTick::Then::NextChapter)
        nextChapter_();
}

} // namespace mz
