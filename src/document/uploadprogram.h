#pragma once

#include "programfileformats.h"
#include "steptask.h"

#include <QByteArray>
#include <QString>

#include <optional>

class ProgramFileSet;
class Prompts;
class RSComm;

// Reads the control program back out of the board into the selected file
// set (RSComm::UploadFile), one board read per step: the ident block, the
// configuration values of a configured board, then every byte of the
// board code's program memory. Runs only while InUploadMode is set and
// clears it when it ends. A set whose board code names no memory, or
// memory this link cannot read whole, is refused before the board is asked
// anything.
//
// Nothing is written until the whole memory has been read; then the image,
// configuration and revision files replace the old ones together, each only
// once all three are written whole. A failed or cancelled upload leaves the
// file set exactly as it was. A read whose
// address echo differed is made once more; a second one ends the upload as
// a link failure does, so a backup never silently differs from the board.
class UploadProgram : public StepTask {
public:
    explicit UploadProgram(RSComm& link);

    // Tells (a box titled "Program Upload") why the set of files cannot be
    // uploaded, and returns true: its board code names no program memory,
    // or memory from FF00H up, which cannot be read over this link.
    static bool refuse(const ProgramFileSet& files, Prompts& prompts);

    bool step() override;
    int progress() const override { return m_done; }
    int progressMaximum() const override;
    QString statusText() const override;

    // Ends the upload at the next step; no file is written.
    void cancel() { m_cancelled = true; }
    bool cancelled() const { return m_cancelled; }
    // How far the memory reads got ("Program memory read: 2000H to 2063H of
    // 2000H to 3FFFH."), for the report of a failed or cancelled upload.
    QString progressNote() const;

    bool ReadingIdent() const { return m_readingIdent; }
    // "2000H" for the 16-byte block being read; one blank before the first.
    QString CurrentProgramAdd() const { return m_currentAdd; }
    // True once the three files have been written.
    bool succeeded() const { return m_succeeded; }
    // Why the upload failed to write a file; empty otherwise.
    QString writeError() const { return m_writeError; }

private:
    enum class Stage { Begin, Ident, Config, Memory, Write, Ended };

    void begin();
    void readIdent();
    void readConfig();
    void readMemory();
    void writeFiles();
    void end();
    void notComplete();
    // One location read, made again once when its address echo differed;
    // nullopt after a link failure or a second mismatch.
    std::optional<QString> readLocation(int address);

    RSComm& m_link;
    Stage m_stage = Stage::Begin;
    int m_index = 0;
    int m_done = 0;
    int m_bytesRead = 0;
    bool m_cancelled = false;
    bool m_readingIdent = false;
    bool m_succeeded = false;
    QString m_currentAdd = QStringLiteral(" ");
    QString m_writeError;
    MemoryRange m_range;
    QByteArray m_ident;
    int m_checksum = 0;
    int m_revision = 0;
    ProgramConfig m_config;
    QByteArray m_block;
    QByteArray m_image;
};
