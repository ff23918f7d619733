#pragma once

// The import window "本地导入": lists the .txt files of a chosen folder and adds
// the selected one to the bookshelf as a local book.

#include <QDialog>

#include <functional>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace mz {

class ReportList;
struct ProgramState;

class ImportWindow : public QDialog {
    Q_OBJECT

  public:
    // Asks the user for a folder; empty when cancelled.
    using FolderChooser = std::function<QString(QWidget* parent)>;

    // shelf: the main window's bookshelf list, which receives the added rows.
    ImportWindow(ProgramState& state, ReportList& shelf, QWidget* parent = nullptr);

    void setFolderChooser(FolderChooser chooser) { chooseFolder_ = std::move(chooser); }

    void browseImportFolder();
    void listImportFiles(const QString& folder);
    void selectImportFile();
    void addImportFile();
    void mirrorShelfCountHere();

    QLineEdit* const 编辑框_路径;   // the chosen folder, ending in a separator
    QPushButton* const 按钮2;       // "浏览"
    QListWidget* const 列表框_文件; // names of the folder's text files
    QLineEdit* const 编辑框1;       // name of the selected file
    QPushButton* const 按钮1;       // "加入书架"
    QLineEdit* const 编辑框2;       // hidden: full path of the selected file
    QLineEdit* const 编辑框3;       // the bookshelf's row count, beyond the right edge
    QTimer* const 时钟1;            // mirrors the row count, 10 ms

  private:
    ProgramState& state_;
    ReportList& shelf_;
    FolderChooser chooseFolder_;
};

} // namespace mz
