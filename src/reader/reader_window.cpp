#include "reader/reader_window.h"

#include "app/book_hand_over.h"
#include "app/controls.h"
#include "app/message_sink.h"
#include "app/program_state.h"
#include "app/report_list.h"
#include "reader/auto_scroller.h"
#include "reader/book_encoding.h"
#include "reader/chapter_sources.h"
#include "reader/reader_appearance.h"
#include "speech/speech_service.h"
#include "text/qt_text.h"

#include <algorithm>

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace mz {
namespace {

const QString listShown = QStringLiteral("隐藏");
const QString listHidden = QStringLiteral("显示");

// The box's text with its line breaks as CR LF, as the edit control of the
// program's own platform holds them: they are part of what is spoken and named.
Text boxTextCrLf(const QPlainTextEdit& box) {
    QString text = box.toPlainText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return fromQString(text);
}

} // namespace

ReaderWindow::ReaderWindow(ProgramState& state, const ChapterSources& sources,
                           MessageSink& messages, BookHandOver& handOver, QWidget* parent)
    : QDialog(parent), 按钮1(makeButton(this, "按钮1", "隐藏", {4, 4, 44, 24})),
      组合框2(makeComboBox(this, "组合框2",
                           {QStringLiteral("ANSI"), QStringLiteral("Unicode"),
                            QStringLiteral("Unicode big endian"), QStringLiteral("UTF-8"),
                            QStringLiteral("自动检测")},
                           {55, 5, 81, 20})),
      按钮7(makeButton(this, "按钮7", "显示章节名", {144, 4, 77, 24})),
      按钮2(makeButton(this, "按钮2", "字体", {226, 4, 44, 24})),
      透明标签1(makeLabel(this, "透明标签1", "背景颜色：", {274, 4, 64, 24})),
      颜色选择器1(makeButton(this, "颜色选择器1", "", {328, 4, 53, 24})),
      组合框1(makeComboBox(this, "组合框1",
                           {QStringLiteral("慢"), QStringLiteral("较慢"), QStringLiteral("适中"),
                            QStringLiteral("较快"), QStringLiteral("快"), QString()},
                           {388, 5, 64, 20})),
      按钮3(makeButton(this, "按钮3", "自动翻行", {457, 4, 68, 24})),
      按钮4(makeButton(this, "按钮4", "朗读", {529, 4, 68, 24})),
      透明标签2(makeLabel(this, "透明标签2", "状态显示", {798, 4, 70, 24})),
      超级列表章节(placed(
          new ReportList(QStringLiteral("超级列表章节"),
                         {{QStringLiteral("地址"), 0}, {QStringLiteral("章节名"), 200}}, this),
          "超级列表章节", {3, 31, 189, 555})),
      编辑框_内容(placed(new QPlainTextEdit(QStringLiteral("*"), this), "编辑框_内容",
                         {199, 31, 664, 555})),
      按钮5(makeButton(this, "按钮5", "上一章", {689, 548, 68, 24})),
      按钮6(makeButton(this, "按钮6", "下一章", {768, 548, 68, 24})),
      标签_状态显示(makeLabel(this, "标签_状态显示", "标签_状态显示", {126, 148, 42, 24})),
      编辑框2(makeLineEdit(this, "编辑框2", {160, 32, 24, 16})),
      时钟1(makeTimer(this, "时钟1", 100)), 时钟_翻行(makeTimer(this, "时钟_翻行", 0)),
      state_(state), sources_(sources), messages_(messages), handOver_(handOver) {
    setWindowTitle(QStringLiteral("阅读"));
    move(50, 50);
    resize(876, 620);
    标签_状态显示->hide();
    编辑框2->hide();
    // The chapter buttons float over the text's lower right corner.
    按钮5->raise();
    按钮6->raise();

    connect(按钮1, &QPushButton::clicked, this, &ReaderWindow::toggleChapterList);
    connect(按钮7, &QPushButton::clicked, this, &ReaderWindow::loadChapterList);
    connect(按钮5, &QPushButton::clicked, this, &ReaderWindow::previousChapter);
    connect(按钮6, &QPushButton::clicked, this, &ReaderWindow::nextChapter);
    connect(超级列表章节, &ReportList::leftClicked, this, &ReaderWindow::showChapter);
    connect(按钮4, &QPushButton::clicked, this, &ReaderWindow::readAloud);
    connect(时钟1, &QTimer::timeout, this, &ReaderWindow::mirrorStatus);
    时钟1->start();
    组合框2->setCurrentIndex(static_cast<int>(BookEncoding::AutoDetect));
    const auto inform = [this](const QString& text) { messages_.inform(this, text); };
    autoScroller_ = new AutoScroller(
        {组合框1, 按钮3, 时钟_翻行, 编辑框_内容}, [this] { nextChapter(); },
        [this] { return chapterPending(); }, inform, this);
    appearance_ = new ReaderAppearance({编辑框_内容, 按钮2, 颜色选择器1},
                                       toQString(state_.settingsPath), inform, this);
}

ReaderWindow::~ReaderWindow() {
    时钟_翻行->stop();
    时钟1->stop();
    编辑框_内容->setFocus();
    appearance_->save();
    // Flows still fetching end with the window: none may write into it during the wait.
    created_.clear();
    // The settings are written; give the system a moment before the window goes.
    QEventLoop wait;
    QTimer::singleShot(closingWait, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}

bool ReaderWindow::chapterPending() const {
    return std::any_of(created_.begin(), created_.end(),
                       [](const auto& source) { return source.second->chapterPending(); });
}

ChapterSource* ReaderWindow::sourceFor(const Text& code) {
    auto found = created_.find(code);
    if (found == created_.end())
        found = created_.emplace(code, sources_.create(code, *this)).first;
    return found->second.get();
}

ReaderContext ReaderWindow::context(const Text& code) {
    return {*this, state_, handOver_, code};
}

void ReaderWindow::showTitle(const QString& suffix) {
    setWindowTitle(QStringLiteral("阅读----共获取取：%1章").arg(超级列表章节->rowCount()) + suffix);
}

void ReaderWindow::loadChapterList() {
    const Text code = handOver_.bookSource();
    ChapterSource* source = sourceFor(code);
    if (code == "0") {
        // The local flow shows its own progress and leaves the title alone.
        if (source)
            source->loadChapterList(context(code), [] {});
        return;
    }
    if (source)
        source->loadChapterList(context(code), [this] { showTitle(QString()); });
    else
        showTitle(QString());
}

void ReaderWindow::showChapter() {
    const Text code = handOver_.bookSource();
    if (ChapterSource* source = sourceFor(code))
        source->showChapter(context(code), 超级列表章节->selectedRow());
    const int row = 超级列表章节->selectedRow();
    showTitle(QStringLiteral("----") + toQString(超级列表章节->cell(row, 1)));
    state_.currentChapter = row;
}

void ReaderWindow::stepTo(int row, const QString& message) {
    if (row < 0 || row >= 超级列表章节->rowCount()) {
        messages_.inform(this, message);
        return;
    }
    超级列表章节->selectRow(row);
    showChapter();
}

void ReaderWindow::previousChapter() {
    if (超级列表章节->selectedRow() == 0) {
        messages_.inform(this, QStringLiteral("没有上一章啦"));
        return;
    }
    stepTo(state_.currentChapter - 1, QStringLiteral("没有上一章啦"));
}

void ReaderWindow::nextChapter() {
    if (超级列表章节->selectedRow() == 超级列表章节->rowCount() - 1) {
        messages_.inform(this, QStringLiteral("没有下一章啦"));
        return;
    }
    stepTo(state_.currentChapter + 1, QStringLiteral("没有下一章啦"));
}

void ReaderWindow::toggleChapterList() {
    const bool hide = 按钮1->text() == listShown;
    超级列表章节->setVisible(!hide);
    按钮1->setText(hide ? listHidden : listShown);
    const int left = hide ? 3 : 199;
    编辑框_内容->setGeometry(left, 编辑框_内容->y(), width() - (hide ? 21 : 217),
                             编辑框_内容->height());
}

void ReaderWindow::layoutReader() {
    const int w = width();
    const int h = height();
    透明标签2->move(w - 70, 透明标签2->y());
    超级列表章节->resize(超级列表章节->width(), h - 68);
    编辑框_内容->resize(编辑框_内容->width(), h - 68);
    按钮5->move(按钮5->x(), h - 72);
    按钮6->move(按钮6->x(), h - 72);
    按钮5->move(w - 187, 按钮5->y());
    按钮6->move(w - 107, 按钮6->y());
    编辑框_内容->resize(按钮1->text() == listShown ? w - 217 : w - 21, 编辑框_内容->height());
}

void ReaderWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layoutReader();
}

void ReaderWindow::readAloud() {
    if (!speech_)
        return;
    speech_->speakText(boxTextCrLf(*编辑框_内容),
                       [this](std::function<void()> work, std::function<void()> done) {
                           speechTask_.start(std::move(work), std::move(done));
                       });
}

void ReaderWindow::mirrorStatus() {
    编辑框2->setText(QString::number(超级列表章节->rowCount()));
    透明标签2->setText(标签_状态显示->text());
}

} // namespace mz
