#pragma once

#include "programfileformats.h"
#include "prompts.h"
#include "steptask.h"

#include <QString>

class RSComm;

// Replaces the board's control program with the image of the selected file
// set (RSComm::DownloadFile), one board exchange per step: the board's
// ident read and compared in a question, the start writes, the
// configuration values of a configured board, program mode, one record per
// step with its checksum reply, leaving program mode, a 2 s pause, the
// ident, checksum and revision written to the ident block.
//
// The whole image is read and checked before the first byte is sent: a
// malformed image never puts the board into program mode, so a refused
// file cannot leave half a program in it.
//
// Ends with OnlineMode true after success (and after a refusal that sent
// nothing), false after any failure in the board.
class DumpProgram : public StepTask {
public:
    explicit DumpProgram(RSComm& link);

    bool step() override;
    int progress() const override { return m_done; }
    int progressMaximum() const override;
    QString statusText() const override;
    int delayBeforeNextStepMs() const override { return m_delayMs; }

    bool WritingIdent() const { return m_writingIdent; }
    // "2000H" for the record being sent; one blank before the first.
    QString CurrentProgramAdd() const { return m_currentAdd; }
    // Records that reached the board with a good checksum reply.
    int recordsSent() const { return m_recordsSent; }
    // True once the task ended with the program complete in the board.
    bool succeeded() const { return m_succeeded; }
    // True once the board was asked anything beyond the ident reads.
    bool boardTouched() const { return m_boardTouched; }

private:
    enum class Stage {
        Begin,
        ReadIdent,
        Confirm,
        StartWrite,
        StartAttention,
        Configure,
        EnterProgramMode,
        Records,
        LeaveProgramMode,
        WriteIdent,
        Finish,
        Ended
    };

    void begin();
    void readIdent();
    void confirm();
    void startWrite();
    void startAttention();
    void configure();
    void enterProgramMode();
    void sendRecord();
    void leaveProgramMode();
    void writeIdent();
    void finish();
    // Ends at once: InProgramMode false, no further message.
    void end();
    void notice(const QString& title, const QString& text, Prompts::Icon icon);
    // How far the records got, for the box of a download that failed part-way.
    QString progressNote() const;

    RSComm& m_link;
    Stage m_stage = Stage::Begin;
    int m_index = 0;
    int m_done = 0;
    int m_delayMs = 0;
    std::vector<ImageRecord> m_records;
    bool m_writingIdent = false;
    bool m_succeeded = false;
    bool m_boardTouched = false;
    int m_recordsSent = 0;
    QString m_currentAdd = QStringLiteral(" ");
    QString m_boardIdent;
    int m_boardChecksum = 0;
    int m_boardRevision = 0;
};
