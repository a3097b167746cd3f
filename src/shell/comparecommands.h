#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class BoardReadback;
class QMenu;
class frmCompare;
class frmProcessing;
struct CommandContext;
struct SetupDocument;
template <class Task> struct ProcessingRun;

// File > "Compare with &Board..." and "Compare with &File...": the current
// document beside the board or beside another set-up file, in the
// comparison window. The board is read into a scratch document by the
// "&All" upload's exchanges in the progress window (offline, the same
// question to go online as a transfer asks); the file is read as Open reads
// it. Neither changes the current or the saved document, a file or the
// board's memory.
class CompareCommands : public QObject {
    Q_OBJECT

public:
    CompareCommands(CommandContext& context, QObject* parent);
    ~CompareCommands() override;

    // A separator and the two entries at the end of the File menu so far.
    void addEntries(QMenu* file);

    void compareWithBoard();
    void compareWithFile();

    // The board read that runs now and its window; nullptr when none runs.
    frmProcessing* processingWindow() const;
    // The comparison window last shown, while it is open.
    frmCompare* comparisonWindow() const;

private:
    void show(const SetupDocument& other, const QString& rightCaption, const QString& subject);

    CommandContext& m_context;
    std::unique_ptr<ProcessingRun<BoardReadback>> m_reading;
    QPointer<frmCompare> m_shown;
};
