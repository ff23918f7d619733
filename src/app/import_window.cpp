#include "app/import_window.h"

#include "app/controls.h"
#include "app/program_state.h"
#include "app/report_list.h"
#include "text/qt_text.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <filesystem>

namespace mz {
namespace {

enum ShelfColumn { address = 0, title = 1 };

QString chooseWithDialog(QWidget* parent) {
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("选择目录"));
}

bool isTextFileName(const QString& name) {
    return name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive);
}

// Names of the regular files in folder that end in ".txt" in any letter case,
// sorted; none when the folder cannot be read.
QStringList textFileNames(const QString& folder) {
    namespace fs = std::filesystem;
    QStringList names;
    std::error_code error;
    for (fs::directory_iterator entry(fs::path(folder.toStdU16String()), error), end;
         !error && entry != end; entry.increment(error)) {
        const QString name = QString::fromStdU16String(entry->path().filename().u16string());
        std::error_code typeError;
        if (isTextFileName(name) && entry->is_regular_file(typeError))
            names << name;
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

ImportWindow::ImportWindow(ProgramState& state, ReportList& shelf, QWidget* parent)
    : QDialog(parent), 编辑框_路径(makeLineEdit(this, "编辑框_路径", {4, 3, 228, 28})),
      按钮2(makeButton(this, "按钮2", "浏览", {235, 4, 48, 28})),
      列表框_文件(placed(new QListWidget(this), "列表框_文件", {4, 34, 277, 209})),
      编辑框1(makeLineEdit(this, "编辑框1", {4, 247, 208, 24})),
      按钮1(makeButton(this, "按钮1", "加入书架", {218, 248, 64, 24})),
      编辑框2(makeLineEdit(this, "编辑框2", {4, 275, 276, 20})),
      编辑框3(makeLineEdit(this, "编辑框3", {304, 72, 64, 48})),
      时钟1(makeTimer(this, "时钟1", 10)), state_(state), shelf_(shelf),
      chooseFolder_(chooseWithDialog) {
    setWindowTitle(QStringLiteral("本地导入"));
    move(50, 50);
    resize(291, 303);
    编辑框2->hide();

    connect(按钮2, &QPushButton::clicked, this, &ImportWindow::browseImportFolder);
    connect(列表框_文件, &QListWidget::itemSelectionChanged, this, &ImportWindow::selectImportFile);
    connect(按钮1, &QPushButton::clicked, this, &ImportWindow::addImportFile);
    connect(时钟1, &QTimer::timeout, this, &ImportWindow::mirrorShelfCountHere);
    时钟1->start();
}

void ImportWindow::browseImportFolder() {
    const QString folder = chooseFolder_(this);
    if (folder.isEmpty())
        return;
    列表框_文件->clear();
    listImportFiles(folder);
}

void ImportWindow::listImportFiles(const QString& folder) {
    QString path = QDir::toNativeSeparators(folder);
    if (!path.endsWith(QDir::separator()))
        path += QDir::separator();
    列表框_文件->addItems(textFileNames(path));
    编辑框_路径->setText(path);
    state_.importFolder = fromQString(path);
}

void ImportWindow::selectImportFile() {
    const QList<QListWidgetItem*> selected = 列表框_文件->selectedItems();
    const QString name = selected.isEmpty() ? QString() : selected.first()->text();
    编辑框1->setText(name);
    编辑框2->setText(编辑框_路径->text() + name);
}

void ImportWindow::addImportFile() {
    // The appended row's own index: the mirrored count can lag a tick behind.
    const int row = shelf_.appendRow();
    shelf_.setCell(row, title, fromQString(编辑框1->text()));
    shelf_.setCell(row, address, fromQString(编辑框2->text()));
}

void ImportWindow::mirrorShelfCountHere() {
    编辑框3->setText(QString::number(shelf_.rowCount()));
}

} // namespace mz
