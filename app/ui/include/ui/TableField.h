// SPDX-License-Identifier: GPL-3.0-or-later
// A table of the "Fit data" page: the tab-separated lines a run reports,
// shown as a grid whose first line is the fixed header. The cells cannot be
// edited; selected cells are copied (Ctrl+C, or the context menu) as
// tab-separated text. The table keeps the lines as they were reported, and
// those are what "Save to file" writes.
#pragma once

#include <QStringList>
#include <QTableWidget>

namespace velmora::ui {

class TableField : public QTableWidget {
    Q_OBJECT
public:
    explicit TableField(const QString& name, QWidget* parent = nullptr);

    // Empties the table, header included.
    void clearLines();
    // Adds the lines: the first line since the table was emptied is the
    // header, every further one a row.
    void appendLines(const QStringList& lines);
    // The lines reported since the table was emptied, joined by line feeds.
    QString text() const { return lines_.join(QLatin1Char('\n')); }

    // The selected cells as text: a row per line, cells separated by tabs.
    QString selectedText() const;
    void copySelection() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void addRow(const QStringList& cells);

    QStringList lines_;
};

} // namespace velmora::ui
