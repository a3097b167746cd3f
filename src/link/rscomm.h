#pragma once

#include "linkflags.h"

#include <QString>

#include <array>
#include <memory>
#include <vector>

class AppFolder;
class ByteTrace;
class Clock;
class HeldOutputs;
class LinkWaitObserver;
class ProgramFileSet;
class Prompts;
class SerialPort;

// The one link object to the target board (K7600). The program is the
// master of a point-to-point RS-232 line: every exchange is one byte out and
// at most one byte back, with a mode handshake (0xFF/0x55, command/0x55)
// before each kind of transaction and echoed address and data bytes.
//
// Link failures are not returned as errors: the link shows its own
// Retry/Cancel box and latches CommError; every caller checks CommError
// after each call. The public flags OnlineMode, CommError and
// CommErrorAlert come from LinkFlags.
//
// A transaction never yields to the event loop except inside the message
// boxes it shows and, through the wait observer, while the board has been
// silent for a while; transactionInProgress() tells pollers (timers that
// fire meanwhile) not to start a second one.
class RSComm : public LinkFlags {
public:
    RSComm(Clock& clock, Prompts& prompts, const AppFolder& folder);
    ~RSComm();
    RSComm(const RSComm&) = delete;
    RSComm& operator=(const RSComm&) = delete;

    // Full path of the link settings file ("\Support\RSPort.cfg").
    QString CommSettingsFile() const;

    // Applies the settings file to the port, opens it and sends the opening
    // 0xFF; OnlineMode is true afterwards only if the board answered.
    // Failures are reported by message boxes ("Comm Port Error", the
    // communication time-out box); see OnlineMode and CommError.
    void OpenRSComm(SerialPort& commObj);
    // Sends a last 0xFF (unless CommError) and closes the port; OnlineMode := false.
    void CloseRSComm();

    // Reads a location ("B2088", "W182", "D1100", "F830", "B1016.0") and
    // returns its value as decimal text; "0" when the read failed. A read
    // whose address echo differed also gives "0", without a box and without
    // CommError: readMismatch() tells it from a real 0.
    QString RSRead(const QString& add);
    // Writes a value text to a location, repeating the write once when an
    // echo did not match. Bad value texts are reported as "ENTRY ALERT".
    void RSWrite(const QString& add, const QString& dataValue);

    // Momentary outputs: a button holds a location at 1 while pressed
    // ("1" now, unless the link is down or busy), and says when the hold
    // ended; the "0" is owed from the press until it reached the board, and
    // goes before anything else the link is asked once the line is sound.
    // Going offline or closing ends every hold.
    void holdOutput(const QString& add, const QString& caption);
    void releaseOutput(const QString& add);
    const HeldOutputs& heldOutputs() const;

    // Address helpers for input/output point names and board type codes.
    static bool ValidAdd(const QString& var, int targetBoardIndex);
    static QString EquateAdd(const QString& var, int targetBoardIndex);
    // Octal digit conversions; throw std::overflow_error outside 16 bits.
    static qint16 Dec2Octal(int decNum);
    static qint16 Octal2Dec(int octNum);

    // ---- Board identity and faults ----
    // The current fault code ("B8176"), 0..255; 0 when the read failed.
    int FaultCode();
    // "Fault Code (0AH): " and the description from "\Support\FaultErrCodes.txt"
    // (first record whose key matches, ignoring case; "--- Fault File Not
    // Found ---" when the file is missing).
    QString FaultDescription(int fltCode);
    // The firmware revision ("B8159"); -1 without touching the link while
    // offline or after a link failure.
    int FirmwareRev();
    // Board type code (a character code) to its name; "F Is Not Defined." for unknown codes.
    static QString TargetboardName(int targetboardType);
    // Board type code to its index in the configuration files; empty if none.
    static QString LCFBoardIndex(int boardType);
    // Full path of a shipped file the program reads ("\Support\CommErrCodes.txt").
    QString supportPath(const QString& relative) const;
    // The prompts the link shows its boxes through (for helpers built on the link).
    Prompts& prompts() const;
    // The clock the link times its waits by (for helpers that pause between steps).
    Clock& clock() const;

    // True while a program download runs (the download sets and clears it).
    bool InProgramMode() const;
    void setInProgramMode(bool on);
    // A caller sets it to ask for an upload; the upload clears it when it ends.
    bool InUploadMode() const;
    void setInUploadMode(bool on);

    // ---- Program file sets ----
    // Selects and checks the file set of a program file for a download; the
    // outcome is ValidProgram(). Shows why a set cannot be downloaded.
    void DownloadFile(const QString& path);
    // Selects the file set for an upload: paths and board code, no check.
    void UploadFile(const QString& path);
    bool ValidProgram() const;
    void setValidProgram(bool valid);
    // The selected set: paths, board code and name, ident, configuration.
    ProgramFileSet& programFiles();
    const ProgramFileSet& programFiles() const;
    // MarkHex digits to hex digits and back, in place; the text is returned.
    static QString MarkHex2HEX(QString& text);
    static QString HEX2MarkHEX(QString& text);

    // Waits up to timeoutMs for one byte the board sends of its own accord
    // (the checksum reply after a program record) and takes it: 0..255, or
    // -1 when none came. No resynchronisation, no box: the caller decides.
    // 9999 when the device was lost or the link had failed already.
    int awaitReplyByte(int timeoutMs);

    // True while a link transaction runs (including any box it shows).
    bool transactionInProgress() const;

    // Optional byte trace (time, direction, byte, link mode); not owned.
    void setTrace(ByteTrace* trace);
    // Optional: told when a wait for the board lasts past 200 ms, and then
    // every 50 ms until it ends, from inside the transaction (see
    // LinkWaitObserver); not owned. Without one every wait is a single
    // blocking wait up to its deadline.
    void setWaitObserver(LinkWaitObserver* observer);

    // ---- Transactions for the board-level operations built on top ----
    // One byte out; with a reply awaited, the reply byte (0..255), else 0;
    // 9999 on failure. Waits 1 s, then resynchronises twice with 0xFF
    // (2 s each), then asks Retry/Cancel.
    int ExchangeByte(int value, bool noReply, bool flushFirst);
    // Memory read; empty text on failure.
    QString ReadLocation(const QString& add);

    // PLS transactions (modes 3..8). Register reads return -9999 on failure.
    int ReadPLSWord(int command);
    bool WritePLSWord(int command, int value);
    bool SendPLSChannelCommand(int command, int chan, int first, int second, int kind);
    bool SendPLSConfigBlock(int command, const std::array<int, 6>& values);
    bool ReadPLSConfigBlock(int command);
    bool RecallPLSChannel(int chan);

    // ---- PLS operations: checks and messages first, then the transactions ----
    // Registers as decimal text, "-9999" when the read failed.
    QString PLSScaleFactor();
    QString PLSOffset();
    QString PLSPos();
    QString PLSRpm();
    // Clears the channel first when clearChan, then sets ON and OFF.
    bool SingleSetpoint(int chan, int onSetpoint, int offSetpoint, bool clearChan);
    bool PulseTrain(int chan, int onDivision, int offDivision, int startDivision);
    bool ClearPLSChan(int chan);
    // Afterwards ChannelRecallState()/ChannelRecallPos() (2 and 0 when invalid).
    bool RecallChannel(int chan);
    int ChannelRecallState() const;
    int ChannelRecallPos() const;
    // Aligns the offset so that the current position reads as position.
    bool SetPLSOffset(int position);
    // Four blocks of six from cfgParam (at least 24 values), then the scale factor.
    bool PLSConfigDownload(const std::vector<int>& cfgParam, int scaleFactor);
    // The 19 configuration values (the last good ones after a failed read).
    std::array<int, 19> PLSConfigUpload();

    int linkMode() const;
    void setLinkMode(int mode);
    bool writeMismatch() const;
    // The last read's address echo differed (the value it returned is no value).
    bool readMismatch() const;
    // True when the last attempt to apply the port settings failed or was cancelled.
    bool portConfigurationFailed() const;
    // The port handed to the last OpenRSComm, or nullptr.
    SerialPort* port() const;

private:
    // Reads the settings file (creating it when missing or empty) and applies
    // it to the port; see portConfigurationFailed().
    void InitializeRSComm(SerialPort& commObj);

    struct Impl;
    std::unique_ptr<Impl> d;
};
