// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TableField.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>
#include <map>

namespace velmora::ui {

TableField::TableField(const QString& name, QWidget* parent) : QTableWidget(parent) {
    setObjectName(name);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setWordWrap(false);
    verticalHeader()->hide();
    // Rows as close as the lines of a text.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Ctrl+C is the key (keyPressEvent); the menu offers the same.
    auto* copy = new QAction(QStringLiteral("Copy"), this);
    connect(copy, &QAction::triggered, this, &TableField::copySelection);
    addAction(copy);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TableField::clearLines() {
    lines_.clear();
    clear();
    setRowCount(0);
    setColumnCount(0);
}

void TableField::appendLines(const QStringList& lines) {
    for (const QString& line : lines) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (lines_.isEmpty()) {
            setColumnCount(static_cast<int>(cells.size()));
            setHorizontalHeaderLabels(cells);
        } else {
            addRow(cells);
        }
        lines_.append(line);
    }
}

void TableField::addRow(const QStringList& cells) {
    const int row = rowCount();
    setRowCount(row + 1);
    if (cells.size() > columnCount()) {
        setColumnCount(static_cast<int>(cells.size()));
    }
    for (int column = 0; column < cells.size(); ++column) {
        setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

// The selected cells by row and column, in the table's order; the columns
// between the leftmost and the rightmost selected one keep their places.
QString TableField::selectedText() const {
    std::map<int, std::map<int, QString>> rows;
    int first = columnCount();
    int last = -1;
    for (const QTableWidgetItem* item : selectedItems()) {
        rows[item->row()][item->column()] = item->text();
        first = std::min(first, item->column());
        last = std::max(last, item->column());
    }
    QStringList lines;
    for (const auto& [row, cells] : rows) {
        QStringList line;
        for (int column = first; column <= last; ++column) {
            const auto found = cells.find(column);
            line.append(found == cells.end() ? QString() : found->second);
        }
        lines.append(line.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n'));
}

void TableField::copySelection() const {
    QApplication::clipboard()->setText(selectedText());
}

void TableField::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

} // namespace velmora::ui
