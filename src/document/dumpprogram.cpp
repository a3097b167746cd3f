#include "dumpprogram.h"

#include "documentlog.h"
#include "programfileset.h"
#include "programident.h"
#include "rscomm.h"
#include "textnumber.h"

#include <QFile>

namespace {

const QString kTitle = QStringLiteral("Program Download");
// The ident block: eight character codes, the checksum, the revision.
constexpr int kIdentBlock = 61424;
constexpr int kIdentLocations = 10;
constexpr int kStartCode = 86;
constexpr int kAttention = 0xFF;
constexpr int kAcknowledge = 0x55;
constexpr int kProgramModeCommand = 0x03;
constexpr int kChecksumReplyMs = 1000;
constexpr int kStartWrites = 2;
constexpr int kConfigWrites = 3;
constexpr int kProgramModeBytes = 2;
constexpr int kStartPauseMs = 100;
constexpr int kSettlePauseMs = 2000;
// Control characters of the board's ident are not shown.
constexpr int kFirstShownCode = 32;

QString identAddress(int k) {
    return QStringLiteral("B%1").arg(kIdentBlock + k);
}

} // namespace

DumpProgram::DumpProgram(RSComm& link) : m_link(link) {}

int DumpProgram::progressMaximum() const {
    // One step each: the start, the ident reads, the question, the start
    // writes, the attention, the configuration writes of a configured
    // board, entering program mode, the records, leaving program mode, the
    // ident writes, the last box.
    const bool configured = carriesConfiguration(m_link.programFiles().BoardCode);
    return 1 + kIdentLocations + 1 + kStartWrites + 1 + (configured ? kConfigWrites : 0) +
           kProgramModeBytes + static_cast<int>(m_records.size()) + 1 + kIdentLocations + 1;
}

QString DumpProgram::progressNote() const {
    const QString note = QStringLiteral("Records accepted by the board: %1 of %2")
                             .arg(m_recordsSent)
                             .arg(m_records.size());
    if (m_recordsSent == 0)
        return note + QLatin1Char('.');
    const ImageRecord& last = m_records.at(static_cast<size_t>(m_recordsSent - 1));
    return note + QStringLiteral(", the last at %1 (line %2).")
                      .arg(last.addressText())
                      .arg(last.lineNumber);
}

QString DumpProgram::statusText() const {
    if (m_writingIdent)
        return QStringLiteral("Writing Program Ident ... ");
    return QStringLiteral("Writing to Program Address: ") + m_currentAdd;
}

void DumpProgram::notice(const QString& title, const QString& text, Prompts::Icon icon) {
    m_link.prompts().message(title, text, icon, Prompts::Buttons::Ok);
}

void DumpProgram::end() {
    m_link.setInProgramMode(false);
    m_writingIdent = false;
    m_stage = Stage::Ended;
}

bool DumpProgram::step() {
    m_delayMs = 0;
    switch (m_stage) {
    case Stage::Begin:
        begin();
        break;
    case Stage::ReadIdent:
        readIdent();
        break;
    case Stage::Confirm:
        confirm();
        break;
    case Stage::StartWrite:
        startWrite();
        break;
    case Stage::StartAttention:
        startAttention();
        break;
    case Stage::Configure:
        configure();
        break;
    case Stage::EnterProgramMode:
        enterProgramMode();
        break;
    case Stage::Records:
        sendRecord();
        break;
    case Stage::LeaveProgramMode:
        leaveProgramMode();
        break;
    case Stage::WriteIdent:
        writeIdent();
        break;
    case Stage::Finish:
        finish();
        break;
    case Stage::Ended:
        return false;
    }
    ++m_done;
    return m_stage != Stage::Ended;
}

void DumpProgram::begin() {
    m_link.setInProgramMode(true);
    m_writingIdent = false;
    m_currentAdd = QStringLiteral(" ");
    if (!m_link.OnlineMode) {
        notice(kTitle,
               QStringLiteral("Program is Currently OFFLINE.\r\n\r\nSwitch to ONLINE MODE to "
                              "Continue."),
               Prompts::Icon::Information);
        return end();
    }
    if (!m_link.ValidProgram()) {
        notice(kTitle,
               QStringLiteral("Currently Selected Program is Invalid.\r\n\r\nProgram Download "
                              "Halted!"),
               Prompts::Icon::Exclamation);
        return end();
    }
    // The image is read and checked whole here, before the board is asked
    // anything: nothing reaches the board unless every line is sound.
    const QString imagePath = m_link.programFiles().ImagePath;
    QFile image(imagePath);
    if (!image.exists()) {
        notice(kTitle,
               imagePath + QStringLiteral(" File Does Not Exist.\r\n\r\nProgram Downloaded Halted"),
               Prompts::Icon::Information);
        return end();
    }
    if (!image.open(QIODevice::ReadOnly)) {
        m_link.setValidProgram(false);
        notice(QStringLiteral("RSComm DumpProgram"),
               QStringLiteral("Error Number = %1\r\n\r\n%2 cannot be read: %3")
                   .arg(FileErrors::kUnreadable)
                   .arg(imagePath, image.errorString()),
               Prompts::Icon::Information);
        return end();
    }
    const QByteArray bytes = image.readAll();
    image.close();
    if (bytes.isEmpty()) {
        notice(kTitle,
               imagePath + QStringLiteral(" File is Not Valid\r\n\r\nProgram Downloaded Halted"),
               Prompts::Icon::Exclamation);
        return end();
    }
    const ImageCheck check = checkImage(bytes);
    if (!check.ok()) {
        qCInfo(lcDocument) << "image" << imagePath << "refused: line" << check.badLine
                           << check.reason;
        m_link.setValidProgram(false);
        notice(QStringLiteral("Program Dump"),
               QStringLiteral("Currently Selected Program is Invalid.\r\n\r\nProgram Download "
                              "Halted!\r\n\r\n") +
                   imagePath + QStringLiteral(": ") + check.fault() + QLatin1Char('.'),
               Prompts::Icon::Exclamation);
        return end();
    }
    m_records = check.records;
    m_stage = Stage::ReadIdent;
    m_index = 0;
}

void DumpProgram::readIdent() {
    const qint64 value =
        m_link.CommError ? 0 : leadingInteger(m_link.ReadLocation(identAddress(m_index)));
    if (m_link.CommError)
        return end(); // the link has told the user
    if (m_index < 8) {
        if (value >= kFirstShownCode && value <= 255)
            m_boardIdent.append(QChar(static_cast<char16_t>(value)));
    } else if (m_index == 8) {
        m_boardChecksum = static_cast<int>(value);
    } else {
        m_boardRevision = static_cast<int>(value);
    }
    if (++m_index == kIdentLocations)
        m_stage = Stage::Confirm;
}

void DumpProgram::confirm() {
    const ProgramFileSet& files = m_link.programFiles();
    const QString identOnDisk = shownIdent(files.IdentOnDisk);
    const QString text =
        QStringLiteral("Program to be loaded into module (on disk):\r\n") +
        QStringLiteral("  Program Ident: \t\t") + identOnDisk + QStringLiteral("\r\n") +
        QStringLiteral("  Program Revision: \t\t") + files.RevisionOnDisk + QStringLiteral("\r\n") +
        QStringLiteral("  Program Checksum: \t") + files.ChecksumOnDisk + QStringLiteral("\r\n") +
        QStringLiteral("  Target Board: \t\t") + files.BoardName + QStringLiteral("\r\n\r\n") +
        QStringLiteral("Program currently loaded in module:\r\n") +
        QStringLiteral("  Program Ident: \t\t") + m_boardIdent + QStringLiteral("\r\n") +
        QStringLiteral("  Program Revision: \t\t") + QString::number(m_boardRevision) +
        QStringLiteral("\r\n") + QStringLiteral("  Program Checksum: \t") +
        QString::number(m_boardChecksum) + QStringLiteral("\r\n\r\n") +
        QStringLiteral("Entire program file will be dumped to the PLC.\r\n") +
        QStringLiteral("All outputs are off while program dump occurrs.\r\n\r\n") +
        QStringLiteral("Do You Wish to Continue?\r\n");
    const Prompts::Answer answer = m_link.prompts().message(
        QStringLiteral("Program Download - [") + identOnDisk + QStringLiteral("]"), text,
        Prompts::Icon::Question, Prompts::Buttons::YesNoCancel, Prompts::DefaultButton::No);
    if (answer != Prompts::Answer::Yes)
        return end();
    // Offline for the rest of the transfer: no page may read or write the
    // board while it takes its program.
    m_link.OnlineMode = false;
    m_stage = Stage::StartWrite;
    m_index = 0;
}

void DumpProgram::startWrite() {
    m_boardTouched = true;
    if (!m_link.CommError) {
        if (m_index == 0)
            m_link.RSWrite(QStringLiteral("B8181"), QString::number(kStartCode));
        else
            m_link.RSWrite(QStringLiteral("B8176"), QStringLiteral("0"));
    }
    if (m_link.CommError) {
        m_stage = Stage::Finish;
        return;
    }
    if (++m_index == kStartWrites) {
        m_stage = Stage::StartAttention;
        m_delayMs = kStartPauseMs;
    }
}

void DumpProgram::startAttention() {
    if (!m_link.CommError)
        m_link.ExchangeByte(kAttention, false, false);
    m_link.setLinkMode(0);
    m_index = 0;
    m_stage = carriesConfiguration(m_link.programFiles().BoardCode) ? Stage::Configure
                                                                    : Stage::EnterProgramMode;
    if (m_link.CommError)
        m_stage = Stage::Finish;
}

void DumpProgram::configure() {
    const ProgramConfig& config = m_link.programFiles().config;
    if (!m_link.CommError) {
        if (m_index == 0)
            m_link.RSWrite(QStringLiteral("B8188"),
                           QString::number(boardValue8188(config.code8188)));
        else if (m_index == 1)
            m_link.RSWrite(QStringLiteral("B8189"), QString::number(config.value8189));
        else
            m_link.RSWrite(QStringLiteral("B8190"),
                           QString::number(boardValue8190(config.code8190)));
    }
    if (++m_index < kConfigWrites && !m_link.CommError)
        return;
    if (m_link.CommError) {
        notice(QStringLiteral("Program Config Download"),
               QStringLiteral("Could Not Set Program Configuration in PLC!"),
               Prompts::Icon::Critical);
        m_stage = Stage::Finish;
        return;
    }
    m_index = 0;
    m_stage = Stage::EnterProgramMode;
}

void DumpProgram::enterProgramMode() {
    if (!m_link.CommError) {
        if (m_index == 0) {
            m_link.ExchangeByte(kAttention, false, false);
            m_link.setLinkMode(0);
        } else {
            m_link.ExchangeByte(kProgramModeCommand, false, false);
        }
    }
    if (m_link.CommError) {
        m_stage = Stage::Finish;
        return;
    }
    if (++m_index == kProgramModeBytes) {
        m_index = 0;
        m_stage = m_records.empty() ? Stage::LeaveProgramMode : Stage::Records;
    }
}

void DumpProgram::sendRecord() {
    const ImageRecord& record = m_records.at(static_cast<size_t>(m_index));
    m_currentAdd = record.addressText();
    for (const char byte : record.wireBytes()) {
        if (m_link.CommError)
            break;
        m_link.ExchangeByte(static_cast<unsigned char>(byte), true, false);
    }
    const int reply = m_link.CommError ? -1 : m_link.awaitReplyByte(kChecksumReplyMs);
    if (m_link.CommError) {
        m_stage = Stage::Finish;
        return;
    }
    if (reply != record.expectedReply()) {
        qCInfo(lcDocument) << "record at" << m_currentAdd << "line" << record.lineNumber
                           << "answered" << reply << "for" << record.expectedReply();
        notice(kTitle,
               QStringLiteral("Checksum Error, Program Download Halted!\r\n\r\n") + progressNote(),
               Prompts::Icon::Exclamation);
        m_link.OnlineMode = false;
        return end();
    }
    ++m_recordsSent;
    if (++m_index == static_cast<int>(m_records.size()))
        m_stage = Stage::LeaveProgramMode;
}

void DumpProgram::leaveProgramMode() {
    const int reply = m_link.ExchangeByte(kAttention, false, false);
    if (m_link.CommError) {
        m_stage = Stage::Finish;
        return;
    }
    if (reply != kAcknowledge) {
        notice(kTitle, QStringLiteral("PLC did not Exit Program Mode!\r\n\r\n") + progressNote(),
               Prompts::Icon::Critical);
        m_link.OnlineMode = false;
        return end();
    }
    m_link.setLinkMode(0);
    m_index = 0;
    m_stage = Stage::WriteIdent;
    // The board stores the program before it takes the next transaction.
    m_delayMs = kSettlePauseMs;
}

void DumpProgram::writeIdent() {
    const ProgramFileSet& files = m_link.programFiles();
    m_writingIdent = true;
    QString value;
    if (m_index < 8) {
        const QString ident = files.IdentOnDisk.trimmed();
        value = QString::number(m_index < ident.size() ? ident.at(m_index).unicode() & 0xFF : 0);
    } else {
        value = m_index == 8 ? files.ChecksumOnDisk : files.RevisionOnDisk;
    }
    m_link.RSWrite(identAddress(m_index), value);
    if (m_link.CommError) {
        notice(kTitle, QStringLiteral("Could Not Send Program Ident and Revision to PLC!"),
               Prompts::Icon::Critical);
        m_stage = Stage::Finish;
        return;
    }
    if (++m_index == kIdentLocations)
        m_stage = Stage::Finish;
}

void DumpProgram::finish() {
    m_link.setValidProgram(false);
    m_writingIdent = false;
    if (m_link.CommError) {
        notice(kTitle, QStringLiteral("Program Download Not Complete!\r\n\r\n") + progressNote(),
               Prompts::Icon::Critical);
        m_link.OnlineMode = false;
    } else {
        notice(kTitle, QStringLiteral("Program Download Complete!"), Prompts::Icon::Information);
        m_link.OnlineMode = true;
        m_succeeded = true;
    }
    end();
}
