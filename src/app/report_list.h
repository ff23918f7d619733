#pragma once

// A list view in report style: rows of text cells under column headers. A cell
// keeps the exact GBK bytes it was given, so text that has no faithful Unicode
// form (a stray byte in a file) comes back unchanged unless the cell is edited.

#include "text/text.h"

#include <QTreeWidget>

#include <initializer_list>
#include <utility>

namespace mz {

class ReportList : public QTreeWidget {
    Q_OBJECT

  public:
    // columns: header text and width; width 0 hides the column, which still holds data.
    ReportList(const QString& name, std::initializer_list<std::pair<QString, int>> columns,
               QWidget* parent);

    int rowCount() const { return topLevelItemCount(); }
    // Index of the selected row, -1 when none.
    int selectedRow() const;
    // Selects row alone; an index outside the list clears the selection.
    void selectRow(int row);

    // Empty when row or column does not exist.
    Text cell(int row, int column) const;
    void setCell(int row, int column, const Text& text);

    // Index of the new empty row.
    int appendRow();
    void insertRow(int row);
    void removeRow(int row);
    void clearRows() { clear(); }

    // Rows of cells, for filling a long list in one step.
    void appendRows(const std::vector<std::vector<Text>>& rows);

  signals:
    // A left click anywhere in the list, after the click has set the selection.
    void leftClicked();
    // A right click anywhere in the list, after the row under the mouse got selected.
    void rightClicked(const QPoint& globalPosition);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

} // namespace mz
