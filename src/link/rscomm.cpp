#include "rscomm.h"

#include "address.h"
#include "appfolder.h"
#include "boardtypes.h"
#include "byteexchange.h"
#include "codefile.h"
#include "heldoutputs.h"
#include "memoryaccess.h"
#include "plsoperations.h"
#include "plsregisters.h"
#include "plstransactions.h"
#include "portsettings.h"
#include "programfileset.h"
#include "prompts.h"
#include "serialport.h"
#include "textnumber.h"
#include "transactionguard.h"

struct RSComm::Impl {
    Impl(RSComm& flags, Clock& clock, Prompts& prompts, const AppFolder& folder)
        : flags(flags), clock(clock), prompts(prompts), folder(folder),
          exchange(flags, clock, prompts), memory(exchange, prompts), held(flags, exchange, memory),
          pls(exchange, flags, clock, prompts), plsOperations(pls, flags, prompts),
          programFiles(prompts) {
        transactionDepth.beforeFirst = [this] { beforeTransaction(); };
    }

    // Whatever the link is asked, a release it owes goes first; a failure
    // latched since ends every hold. A board taking program records takes
    // nothing else until the download ends.
    void beforeTransaction() {
        if (flags.CommError)
            held.endAllHolds();
        else if (!inProgramMode)
            held.writeOwed();
    }

    LinkFlags& flags;
    Clock& clock;
    Prompts& prompts;
    AppFolder folder;
    ByteExchange exchange;
    MemoryAccess memory;
    HeldOutputs held;
    PlsTransactions pls;
    PlsOperations plsOperations;
    ProgramFileSet programFiles;
    TransactionDepth transactionDepth;
    bool portConfigurationFailed = false;
    bool inProgramMode = false;
    bool inUploadMode = false;
};

RSComm::RSComm(Clock& clock, Prompts& prompts, const AppFolder& folder)
    : d(std::make_unique<Impl>(*this, clock, prompts, folder)) {}

RSComm::~RSComm() = default;

QString RSComm::CommSettingsFile() const {
    return d->folder.userPath(QStringLiteral("\\Support\\RSPort.cfg"));
}

// Reads the settings file (creating it with the defaults when it is missing
// or empty) and configures the port. A file failure rewrites the file with
// the settings held at that moment, then offers Retry/Cancel.
void RSComm::InitializeRSComm(SerialPort& commObj) {
    const PortSettingsFile file(CommSettingsFile());
    PortSettings settings;
    for (;;) {
        const PortSettingsFile::Contents contents = file.read();
        std::optional<SettingsFileError> error = contents.error;
        if (!error) {
            if (contents.state == PortSettingsFile::State::Present)
                settings = contents.settings;
            else
                error = file.write(settings);
        }
        if (!error)
            break;
        file.write(settings); // best effort: the box below reports the failure
        const Prompts::Answer answer =
            d->prompts.message(QStringLiteral("RSComm InitializeRSComm"),
                               QStringLiteral("Error Number = %1\r\n\r\n%2")
                                   .arg(error->number)
                                   .arg(error->description),
                               Prompts::Icon::Critical, Prompts::Buttons::RetryCancel);
        if (answer != Prompts::Answer::Retry) {
            OnlineMode = false;
            d->portConfigurationFailed = true;
            return;
        }
    }
    if (commObj.isOpen())
        commObj.close();
    commObj.setPortNumber(settings.port);
    commObj.setSettings(settings.settingsText());
    d->exchange.setPort(&commObj);
    d->portConfigurationFailed = false;
}

void RSComm::OpenRSComm(SerialPort& commObj) {
    const TransactionGuard guard(d->transactionDepth);
    InitializeRSComm(commObj);
    if (d->portConfigurationFailed)
        return;
    if (!commObj.open()) {
        const SerialPort::Failure failure = commObj.failure();
        d->prompts.message(QStringLiteral("Comm Port Error"),
                           QStringLiteral("Error Number = %1\r\nError Source = %2\r\n\r\n%3")
                               .arg(failure.number)
                               .arg(failure.source, failure.description),
                           Prompts::Icon::Critical, Prompts::Buttons::Ok);
        CommError = true;
        OnlineMode = false;
        d->portConfigurationFailed = true;
        return;
    }
    commObj.discardInput();
    d->exchange.setLinkMode(0);
    CommError = false;
    // Any answer to the attention byte shows that a board is on the line.
    d->exchange.exchange(ByteExchange::kAttention, false, false);
    OnlineMode = !CommError;
    // Releases owed from before the line came up go before anything else.
    d->held.writeOwed();
    OnlineMode = !CommError;
}

void RSComm::CloseRSComm() {
    const TransactionGuard guard(d->transactionDepth);
    // Going offline ends every hold, released while the line is still up.
    d->held.endAllHolds();
    d->beforeTransaction();
    d->exchange.closeLink();
}

QString RSComm::RSRead(const QString& add) {
    const TransactionGuard guard(d->transactionDepth);
    return QString::number(leadingInteger(d->memory.readLocation(add)));
}

void RSComm::RSWrite(const QString& add, const QString& dataValue) {
    const TransactionGuard guard(d->transactionDepth);
    d->memory.writeRepeated(add, dataValue);
}

void RSComm::holdOutput(const QString& add, const QString& caption) {
    if (transactionInProgress())
        return; // a press inside another transaction's box: the line is not free
    const TransactionGuard guard(d->transactionDepth);
    d->held.press(add, caption);
}

void RSComm::releaseOutput(const QString& add) {
    d->held.endHold(add);
    // Inside another transaction's box the line is busy: the release goes
    // before the next transaction instead.
    if (transactionInProgress())
        return;
    const TransactionGuard guard(d->transactionDepth); // writes it, if the line is sound
}

const HeldOutputs& RSComm::heldOutputs() const {
    return d->held;
}

int RSComm::FaultCode() {
    const TransactionGuard guard(d->transactionDepth);
    const qint64 value = leadingInteger(d->memory.readLocation(QStringLiteral("B8176")));
    return value >= 0 && value <= 255 ? static_cast<int>(value) : 0;
}

QString RSComm::FaultDescription(int fltCode) {
    QString result = QStringLiteral("Fault Code (") + codeKey(fltCode) + QStringLiteral("H): ");
    const CodeLookup lookup =
        lookupCodeFile(supportPath(QStringLiteral("\\Support\\FaultErrCodes.txt")), fltCode,
                       CodeMatch::First, d->prompts, QStringLiteral("RSComm FaultDescription"));
    if (!lookup.fileFound)
        return result + QStringLiteral("--- Fault File Not Found ---");
    return result + lookup.text;
}

int RSComm::FirmwareRev() {
    if (!linkUp())
        return -1;
    const TransactionGuard guard(d->transactionDepth);
    return static_cast<int>(leadingInteger(d->memory.readLocation(QStringLiteral("B8159"))));
}

QString RSComm::TargetboardName(int targetboardType) {
    return targetBoardName(targetboardType);
}

QString RSComm::LCFBoardIndex(int boardType) {
    return lcfBoardIndex(boardType);
}

QString RSComm::supportPath(const QString& relative) const {
    return d->folder.dataPath(relative);
}

Prompts& RSComm::prompts() const {
    return d->prompts;
}

Clock& RSComm::clock() const {
    return d->clock;
}

bool RSComm::InProgramMode() const {
    return d->inProgramMode;
}

void RSComm::setInProgramMode(bool on) {
    d->inProgramMode = on;
}

bool RSComm::InUploadMode() const {
    return d->inUploadMode;
}

void RSComm::setInUploadMode(bool on) {
    d->inUploadMode = on;
}

void RSComm::DownloadFile(const QString& path) {
    d->programFiles.DownloadFile(path);
}

void RSComm::UploadFile(const QString& path) {
    d->programFiles.UploadFile(path);
}

bool RSComm::ValidProgram() const {
    return d->programFiles.valid();
}

void RSComm::setValidProgram(bool valid) {
    d->programFiles.setValid(valid);
}

ProgramFileSet& RSComm::programFiles() {
    return d->programFiles;
}

const ProgramFileSet& RSComm::programFiles() const {
    return d->programFiles;
}

QString RSComm::MarkHex2HEX(QString& text) {
    return ::MarkHex2HEX(text);
}

QString RSComm::HEX2MarkHEX(QString& text) {
    return ::HEX2MarkHEX(text);
}

int RSComm::awaitReplyByte(int timeoutMs) {
    const TransactionGuard guard(d->transactionDepth);
    return d->exchange.awaitByte(timeoutMs);
}

bool RSComm::ValidAdd(const QString& var, int targetBoardIndex) {
    return ::ValidAdd(var, targetBoardIndex);
}

QString RSComm::EquateAdd(const QString& var, int targetBoardIndex) {
    return ::EquateAdd(var, targetBoardIndex);
}

qint16 RSComm::Dec2Octal(int decNum) {
    return ::Dec2Octal(decNum);
}

qint16 RSComm::Octal2Dec(int octNum) {
    return ::Octal2Dec(octNum);
}

bool RSComm::transactionInProgress() const {
    return d->transactionDepth.depth > 0;
}

void RSComm::setTrace(ByteTrace* trace) {
    d->exchange.setTrace(trace);
}

void RSComm::setWaitObserver(LinkWaitObserver* observer) {
    d->exchange.setWaitObserver(observer);
}

int RSComm::ExchangeByte(int value, bool noReply, bool flushFirst) {
    const TransactionGuard guard(d->transactionDepth);
    return d->exchange.exchange(value, noReply, flushFirst);
}

QString RSComm::ReadLocation(const QString& add) {
    const TransactionGuard guard(d->transactionDepth);
    return d->memory.readLocation(add);
}

int RSComm::ReadPLSWord(int command) {
    const TransactionGuard guard(d->transactionDepth);
    return d->pls.readWord(command);
}

bool RSComm::WritePLSWord(int command, int value) {
    const TransactionGuard guard(d->transactionDepth);
    return d->pls.writeWord(command, value);
}

bool RSComm::SendPLSChannelCommand(int command, int chan, int first, int second, int kind) {
    const TransactionGuard guard(d->transactionDepth);
    return d->pls.channelCommand(command, chan, first, second, kind);
}

bool RSComm::SendPLSConfigBlock(int command, const std::array<int, 6>& values) {
    const TransactionGuard guard(d->transactionDepth);
    return d->pls.configBlock(command, values);
}

bool RSComm::ReadPLSConfigBlock(int command) {
    const TransactionGuard guard(d->transactionDepth);
    return d->pls.readConfig(command);
}

bool RSComm::RecallPLSChannel(int chan) {
    const TransactionGuard guard(d->transactionDepth);
    return d->pls.recallChannel(chan);
}

QString RSComm::PLSScaleFactor() {
    const TransactionGuard guard(d->transactionDepth);
    return d->plsOperations.registerText(PlsRegister::kReadScale);
}

QString RSComm::PLSOffset() {
    const TransactionGuard guard(d->transactionDepth);
    return d->plsOperations.registerText(PlsRegister::kReadOffset);
}

QString RSComm::PLSPos() {
    const TransactionGuard guard(d->transactionDepth);
    return d->plsOperations.registerText(PlsRegister::kReadPosition);
}

QString RSComm::PLSRpm() {
    const TransactionGuard guard(d->transactionDepth);
    return d->plsOperations.registerText(PlsRegister::kReadSpeed);
}

bool RSComm::SingleSetpoint(int chan, int onSetpoint, int offSetpoint, bool clearChan) {
    const TransactionGuard guard(d->transactionDepth);
    return d->plsOperations.singleSetpoint(chan, onSetpoint, offSetpoint, clearChan);
}

bool RSComm::PulseTrain(int chan, int onDivision, int offDivision, int startDivision) {
    const TransactionGuard guard(d->transactionDepth);
    return d->plsOperations.pulseTrain(chan, onDivision, offDivision, startDivision);
}

bool RSComm::ClearPLSChan(int chan) {
    const TransactionGuard guard(d->transactionDepth);
    return d->plsOperations.clearChannel(chan);
}

bool RSComm::RecallChannel(int chan) {
    const TransactionGuard guard(d->transactionDepth);
    return d->plsOperations.recallChannel(chan);
}

int RSComm::ChannelRecallState() const {
    return d->pls.recallState();
}

int RSComm::ChannelRecallPos() const {
    return d->pls.recallPosition();
}

bool RSComm::SetPLSOffset(int position) {
    const TransactionGuard guard(d->transactionDepth);
    return d->plsOperations.setOffset(position);
}

bool RSComm::PLSConfigDownload(const std::vector<int>& cfgParam, int scaleFactor) {
    const TransactionGuard guard(d->transactionDepth);
    return d->plsOperations.configDownload(cfgParam, scaleFactor);
}

std::array<int, 19> RSComm::PLSConfigUpload() {
    const TransactionGuard guard(d->transactionDepth);
    return d->plsOperations.configUpload();
}

int RSComm::linkMode() const {
    return d->exchange.linkMode();
}

void RSComm::setLinkMode(int mode) {
    d->exchange.setLinkMode(mode);
}

bool RSComm::writeMismatch() const {
    return d->memory.writeMismatch();
}

bool RSComm::readMismatch() const {
    return d->memory.readMismatch();
}

bool RSComm::portConfigurationFailed() const {
    return d->portConfigurationFailed;
}

SerialPort* RSComm::port() const {
    return d->exchange.port();
}
