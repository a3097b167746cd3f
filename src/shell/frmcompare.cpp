#include "frmcompare.h"

#include "atomicfilewriter.h"
#include "comparisontable.h"
#include "prompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { kMark, kItem, kLeft, kRight };
// Not equal: a differing row reads as one without colour.
const QString kDiffersMark = QStringLiteral("\u2260");
const QString kTitle = QStringLiteral("Compare");

void markRow(QTreeWidgetItem* row) {
    // A light fill that still leaves the text readable; bold for paper.
    const QBrush fill(QColor(0xff, 0xe0, 0xa0));
    QFont bold = row->font(kItem);
    bold.setBold(true);
    for (int column = kMark; column <= kRight; ++column) {
        row->setBackground(column, fill);
        row->setFont(column, bold);
    }
}

// A row across the table: a section title (underlined) or a heading.
QTreeWidgetItem* addTitleRow(QTreeWidget* table, const QString& text, bool title) {
    auto* row = new QTreeWidgetItem(table, {text});
    row->setFirstColumnSpanned(true);
    row->setFlags(Qt::ItemIsEnabled);
    QFont font = row->font(kMark);
    font.setBold(true);
    font.setUnderline(title);
    row->setFont(kMark, font);
    return row;
}

} // namespace

frmCompare::frmCompare(QVector<ComparisonItem> items, const QString& rightCaption,
                       const QString& subject, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_items(std::move(items)), m_rightCaption(rightCaption), m_prompts(prompts) {
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(QStringLiteral("Compare with ") + rightCaption);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* subjectLabel = new QLabel(subject, this);
    subjectLabel->setObjectName(QStringLiteral("lblSubject"));
    subjectLabel->setWordWrap(true);
    m_onlyDifferences = new QCheckBox(QStringLiteral("Show only &differences"), this);
    m_onlyDifferences->setObjectName(QStringLiteral("chkOnlyDifferences"));
    m_onlyDifferences->setChecked(true);
    m_includeShift = new QCheckBox(QStringLiteral("&Include shift data"), this);
    m_includeShift->setObjectName(QStringLiteral("chkIncludeShift"));
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblCount"));

    m_table = new QTreeWidget(this);
    m_table->setObjectName(QStringLiteral("tvwCompare"));
    m_table->setColumnCount(4);
    m_table->setHeaderLabels(
        {QString(), QStringLiteral("Item"), QStringLiteral("Document"), rightCaption});
    m_table->setRootIsDecorated(false);
    m_table->setItemsExpandable(false);
    m_table->setUniformRowHeights(true);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QHeaderView* header = m_table->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(kMark, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(kItem, QHeaderView::Stretch);
    header->setSectionResizeMode(kLeft, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(kRight, QHeaderView::ResizeToContents);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copyButton =
        buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
    copyButton->setObjectName(QStringLiteral("cmdCopy"));
    QPushButton* saveButton =
        buttons->addButton(QStringLiteral("Save &As..."), QDialogButtonBox::ActionRole);
    saveButton->setObjectName(QStringLiteral("cmdSaveAs"));
    QPushButton* closeButton =
        buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    // Enter closes the window, as in a message box; Copy and Save As are asked for.
    copyButton->setAutoDefault(false);
    saveButton->setAutoDefault(false);
    closeButton->setDefault(true);
    connect(copyButton, &QPushButton::clicked, this, &frmCompare::copy);
    connect(saveButton, &QPushButton::clicked, this, &frmCompare::saveAs);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* options = new QHBoxLayout;
    options->addWidget(m_onlyDifferences);
    options->addWidget(m_includeShift);
    options->addStretch(1);
    options->addWidget(m_count);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(subjectLabel);
    layout->addLayout(options);
    layout->addWidget(m_table, 1);
    layout->addWidget(buttons);

    connect(m_onlyDifferences, &QCheckBox::toggled, this, &frmCompare::fill);
    connect(m_includeShift, &QCheckBox::toggled, this, &frmCompare::fill);
    fill();
    // Wide enough for the longest label beside two values, and small
    // enough for a 1366 x 768 screen: the table scrolls.
    resize(760, 560);
}

void frmCompare::fill() {
    const ComparisonFilter filter{m_onlyDifferences->isChecked(), m_includeShift->isChecked()};
    const ComparisonCount count = countItems(m_items, filter.withCounters);
    m_count->setText(QStringLiteral("%1 of %2 items differ").arg(count.differing).arg(count.items));

    m_table->clear();
    const QLocale locale;
    QString part;
    QTreeWidgetItem* group = nullptr;
    for (const ComparisonItem& item : shownItems(m_items, filter)) {
        // The report's section titles above its headings: the set-up and the
        // shift data both have an "A.".
        if (item.part != part && item.part != item.section) {
            part = item.part;
            addTitleRow(m_table, part, true);
        }
        if (!group || group->text(kMark) != item.section)
            group = addTitleRow(m_table, item.section, false);
        auto* row = new QTreeWidgetItem(group, {item.differs() ? kDiffersMark : QString(),
                                                item.label, item.text(item.left, locale),
                                                item.text(item.right, locale)});
        row->setTextAlignment(kMark, Qt::AlignCenter);
        row->setTextAlignment(kLeft, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(kRight, Qt::AlignRight | Qt::AlignVCenter);
        if (item.differs())
            markRow(row);
    }
    m_table->expandAll();
}

QString frmCompare::copyText() const {
    const ComparisonFilter filter{m_onlyDifferences->isChecked(), m_includeShift->isChecked()};
    return comparisonTabText(shownItems(m_items, filter), m_rightCaption);
}

void frmCompare::copy() {
    QApplication::clipboard()->setText(copyText());
}

void frmCompare::saveAs() {
    Prompts::FileDialog dialog;
    dialog.title = QStringLiteral("Save Comparison");
    dialog.filter = QStringLiteral("CSV Files(*.csv)|*.csv|");
    dialog.defaultSuffix = QStringLiteral("csv");
    dialog.overwritePrompt = true;
    const std::optional<QString> path = m_prompts.saveFile(dialog);
    if (!path)
        return;
    const ComparisonFilter filter{m_onlyDifferences->isChecked(), m_includeShift->isChecked()};
    const QString failure =
        writeFileAtomically(*path, comparisonCsv(shownItems(m_items, filter), m_rightCaption));
    if (!failure.isEmpty())
        m_prompts.message(kTitle,
                          QStringLiteral("Could not save the comparison:\r\n") +
                              QDir::toNativeSeparators(*path) + QStringLiteral("\r\n\r\n") +
                              failure,
                          Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}
