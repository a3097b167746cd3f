#pragma once

#include "setupcomparison.h"

#include <QDialog>

class Prompts;
class QCheckBox;
class QLabel;
class QTreeWidget;

// The result of a comparison: a table (mark, Item, Document, Board or File)
// grouped under the report's headings. A differing row carries a mark in a
// column of its own besides its colour, so it stands out on a monochrome
// screen and on paper. "Show only &differences" (on at first) and "&Include
// shift data" (off: the board counts its shift counters on) choose the
// rows; "&Copy" puts them on the clipboard as tab-separated text, "Save
// &As..." writes them as a CSV file. The window only shows: nothing it does
// changes a document, a file or the board.
class frmCompare : public QDialog {
    Q_OBJECT

public:
    // rightCaption names the other side: "Board" or "File"; subject says
    // what was compared with what, above the table.
    frmCompare(QVector<ComparisonItem> items, const QString& rightCaption, const QString& subject,
               Prompts& prompts, QWidget* parent = nullptr);

    // The text a Copy puts on the clipboard.
    QString copyText() const;

private:
    void fill();
    void copy();
    void saveAs();

    QVector<ComparisonItem> m_items;
    QString m_rightCaption;
    Prompts& m_prompts;
    QCheckBox* m_onlyDifferences;
    QCheckBox* m_includeShift;
    QLabel* m_count;
    QTreeWidget* m_table;
};
