#include "app/report_list.h"

#include "text/qt_text.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMouseEvent>

namespace mz {
namespace {

constexpr int bytesRole = Qt::UserRole;

QTreeWidgetItem* newItem(const std::vector<Text>& cells) {
    auto* item = new QTreeWidgetItem;
    for (size_t column = 0; column < cells.size(); ++column) {
        const int c = static_cast<int>(column);
        item->setText(c, toQString(cells[column]));
        item->setData(c, bytesRole, QByteArray::fromStdString(cells[column]));
    }
    return item;
}

} // namespace

ReportList::ReportList(const QString& name, std::initializer_list<std::pair<QString, int>> columns,
                       QWidget* parent)
    : QTreeWidget(parent) {
    setObjectName(name);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setColumnCount(static_cast<int>(columns.size()));
    QStringList labels;
    for (const auto& column : columns)
        labels << column.first;
    setHeaderLabels(labels);
    header()->setStretchLastSection(false);
    int index = 0;
    for (const auto& column : columns) {
        if (column.second == 0)
            setColumnHidden(index, true);
        else
            setColumnWidth(index, column.second);
        ++index;
    }
}

int ReportList::selectedRow() const {
    const QList<QTreeWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : indexOfTopLevelItem(items.first());
}

void ReportList::selectRow(int row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item) {
        clearSelection();
        return;
    }
    setCurrentItem(item);
    scrollToItem(item);
}

Text ReportList::cell(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    if (!item || column < 0 || column >= columnCount())
        return {};
    const QString shown = item->text(column);
    const QVariant bytes = item->data(column, bytesRole);
    if (bytes.isValid()) {
        Text stored = bytes.toByteArray().toStdString();
        if (toQString(stored) == shown)
            return stored;
    }
    return fromQString(shown);
}

void ReportList::setCell(int row, int column, const Text& text) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        return;
    item->setText(column, toQString(text));
    item->setData(column, bytesRole, QByteArray::fromStdString(text));
}

int ReportList::appendRow() {
    addTopLevelItem(new QTreeWidgetItem);
    return rowCount() - 1;
}

void ReportList::insertRow(int row) {
    insertTopLevelItem(row, new QTreeWidgetItem);
}

void ReportList::removeRow(int row) {
    delete takeTopLevelItem(row);
}

void ReportList::appendRows(const std::vector<std::vector<Text>>& rows) {
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const auto& cells : rows)
        items.append(newItem(cells));
    addTopLevelItems(items);
}

void ReportList::mousePressEvent(QMouseEvent* event) {
    // A click beside the rows leaves no row selected, as in a native list view.
    if (!itemAt(event->position().toPoint()))
        clearSelection();
    QTreeWidget::mousePressEvent(event);
}

void ReportList::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit leftClicked();
}

void ReportList::contextMenuEvent(QContextMenuEvent* event) {
    emit rightClicked(event->globalPos());
    event->accept();
}

} // namespace mz
