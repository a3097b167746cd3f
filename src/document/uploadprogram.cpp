#include "uploadprogram.h"

#include "atomicfilewriter.h"
#include "boardtypes.h"
#include "documentlog.h"
#include "programfileset.h"
#include "prompts.h"
#include "rscomm.h"
#include "textnumber.h"

namespace {

const QString kTitle = QStringLiteral("Program Upload");
constexpr int kIdentBlock = 61424;
constexpr int kIdentLocations = 10;
constexpr int kLineBytes = 16;
const int kConfigAddresses[3] = {8190, 8189, 8188};
constexpr int kConfigLocations = 3;
// A read sends the address high byte first; 0xFF there is the attention
// byte, which the board answers as such: FF00H and above cannot be read.
constexpr int kFirstUnreadable = 0xFF00;
const QString kHalted = QStringLiteral("\r\n\r\nProgram Upload Halted!");

QString hexAddress(int address) {
    return QString::number(address, 16).toUpper() + QLatin1Char('H');
}

QString rangeText(int first, int last) {
    return hexAddress(first) + QStringLiteral(" to ") + hexAddress(last);
}

} // namespace

UploadProgram::UploadProgram(RSComm& link) : m_link(link) {}

bool UploadProgram::refuse(const ProgramFileSet& files, Prompts& prompts) {
    const MemoryRange range = uploadRange(files.BoardCode);
    const QString board = QStringLiteral("Board code \"%1\" (%2)")
                              .arg(QChar(static_cast<char16_t>(files.BoardCode)), files.BoardName);
    const int end = range.first + range.count;
    QString why;
    if (range.count == 0)
        why = board + QStringLiteral(" has no program memory that can be uploaded.");
    else if (end > kFirstUnreadable)
        why = board + QStringLiteral(" keeps its program at ") + rangeText(range.first, end - 1) +
              QStringLiteral(", but ") + rangeText(qMax(range.first, kFirstUnreadable), end - 1) +
              QStringLiteral(" cannot be read over this link: FFH as an address high byte is "
                             "the board's attention byte.\r\n\r\nAn image without that top "
                             "page, where the reset and interrupt vectors usually are, is no "
                             "backup.");
    if (why.isEmpty())
        return false;
    prompts.message(kTitle, why + kHalted, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    return true;
}

int UploadProgram::progressMaximum() const {
    // The start, the ident reads, the configuration reads of a configured
    // board, one read per program byte, the files written.
    const int code = m_link.programFiles().BoardCode;
    return 1 + kIdentLocations + (carriesConfiguration(code) ? kConfigLocations : 0) +
           uploadRange(code).count + 1;
}

QString UploadProgram::progressNote() const {
    const MemoryRange range = uploadRange(m_link.programFiles().BoardCode);
    const QString whole = rangeText(range.first, range.first + range.count - 1);
    if (m_bytesRead == 0)
        return QStringLiteral("Program memory read: none of ") + whole + QLatin1Char('.');
    return QStringLiteral("Program memory read: ") +
           rangeText(range.first, range.first + m_bytesRead - 1) + QStringLiteral(" of ") + whole +
           QLatin1Char('.');
}

QString UploadProgram::statusText() const {
    if (m_readingIdent)
        return QStringLiteral("Reading Program Ident ... ");
    return QStringLiteral("Reading From Program Address: ") + m_currentAdd;
}

std::optional<QString> UploadProgram::readLocation(int address) {
    const QString add = QStringLiteral("B%1").arg(address);
    QString text = m_link.ReadLocation(add);
    if (!m_link.CommError && m_link.readMismatch()) {
        qCInfo(lcDocument) << "program upload: echo mismatch at" << add << ", read again";
        text = m_link.ReadLocation(add);
    }
    if (m_link.CommError || m_link.readMismatch() || text.isEmpty())
        return std::nullopt;
    return text;
}

void UploadProgram::end() {
    m_readingIdent = false;
    m_link.setInUploadMode(false);
    m_stage = Stage::Ended;
}

void UploadProgram::notComplete() {
    m_link.prompts().message(kTitle,
                             QStringLiteral("Program Upload Not Complete!\r\n\r\nHEX file not "
                                            "created.\r\n\r\n") +
                                 progressNote(),
                             Prompts::Icon::Critical, Prompts::Buttons::Ok);
    m_link.OnlineMode = false;
    end();
}

bool UploadProgram::step() {
    if (m_stage == Stage::Ended)
        return false;
    if (m_cancelled) {
        qCInfo(lcDocument) << "program upload cancelled; no file written";
        end();
        return false;
    }
    switch (m_stage) {
    case Stage::Begin:
        begin();
        break;
    case Stage::Ident:
        readIdent();
        break;
    case Stage::Config:
        readConfig();
        break;
    case Stage::Memory:
        readMemory();
        break;
    case Stage::Write:
        writeFiles();
        break;
    case Stage::Ended:
        break;
    }
    ++m_done;
    return m_stage != Stage::Ended;
}

void UploadProgram::begin() {
    m_readingIdent = false;
    if (!m_link.InUploadMode()) {
        m_stage = Stage::Ended;
        return;
    }
    if (!m_link.OnlineMode) {
        m_link.prompts().message(kTitle,
                                 QStringLiteral("Program is Currently OFFLINE.\r\n\r\nSwitch to "
                                                "ONLINE MODE to Continue."),
                                 Prompts::Icon::Information, Prompts::Buttons::Ok);
        return end();
    }
    // A program file without a board code names no memory to read.
    if (m_link.programFiles().BoardCode == 0)
        return end();
    // Nothing is asked of the board for a set that cannot be backed up whole.
    if (refuse(m_link.programFiles(), m_link.prompts()))
        return end();
    m_range = uploadRange(m_link.programFiles().BoardCode);
    m_stage = Stage::Ident;
    m_index = 0;
    m_readingIdent = true; // what the next step does
}

void UploadProgram::readIdent() {
    m_readingIdent = true;
    const std::optional<QString> text = readLocation(kIdentBlock + m_index);
    if (!text) {
        if (m_link.CommError)
            return end(); // the link has told the user
        return notComplete();
    }
    const int value = static_cast<int>(leadingInteger(*text) & 0xFF);
    if (m_index < 8)
        m_ident.append(static_cast<char>(value)); // every code, NUL included
    else if (m_index == 8)
        m_checksum = value;
    else
        m_revision = value;
    if (++m_index < kIdentLocations)
        return;
    m_readingIdent = false;
    m_index = 0;
    m_stage = carriesConfiguration(m_link.programFiles().BoardCode) ? Stage::Config : Stage::Memory;
}

void UploadProgram::readConfig() {
    const std::optional<QString> text = readLocation(kConfigAddresses[m_index]);
    if (!text)
        return notComplete();
    if (m_index == 0)
        m_config.code8190 = fileCode8190(*text);
    else if (m_index == 1)
        m_config.value8189 = static_cast<int>(leadingInteger(*text));
    else
        m_config.code8188 = fileCode8188(*text);
    if (++m_index < kConfigLocations)
        return;
    m_index = 0;
    m_stage = Stage::Memory;
}

void UploadProgram::readMemory() {
    if (m_index >= m_range.count) {
        m_stage = Stage::Write;
        return;
    }
    const int address = m_range.first + m_index;
    if (m_index % kLineBytes == 0)
        m_currentAdd = hexAddress(address);
    const std::optional<QString> text = readLocation(address);
    if (!text)
        return notComplete();
    m_block.append(static_cast<char>(leadingInteger(*text) & 0xFF));
    ++m_index;
    ++m_bytesRead;
    if (m_block.size() == kLineBytes || m_index == m_range.count) {
        m_image += uploadImageLine(address - static_cast<int>(m_block.size()) + 1, m_block) +
                   QByteArrayLiteral("\r\n");
        m_block.clear();
    }
    if (m_index == m_range.count)
        m_stage = Stage::Write;
}

void UploadProgram::writeFiles() {
    const ProgramFileSet& files = m_link.programFiles();
    // The three files are replaced together, and only once each has been
    // written whole: a failure leaves the old set as it was.
    std::vector<FileContent> outputs;
    outputs.push_back({files.ImagePath, m_image + kImageEndRecord + QByteArrayLiteral("\r\n")});
    if (carriesConfiguration(files.BoardCode))
        outputs.push_back(
            {files.ConfigPath, configFileBytes(lcfBoardIndex(files.BoardCode), m_config)});
    outputs.push_back({files.RevisionPath, revisionFileBytes(m_ident, m_checksum, m_revision)});
    const QString failure = writeFilesAtomically(outputs);
    if (!failure.isEmpty()) {
        m_writeError = QStringLiteral("Cannot write %1").arg(failure);
        m_link.prompts().message(QStringLiteral("RSComm-Upload Program"),
                                 QStringLiteral("Error Number = %1\r\n\r\n%2")
                                     .arg(FileErrors::kUnwritable)
                                     .arg(m_writeError),
                                 Prompts::Icon::Information, Prompts::Buttons::Ok);
        return end();
    }
    m_link.prompts().message(kTitle, QStringLiteral("Program Upload Complete!"),
                             Prompts::Icon::Information, Prompts::Buttons::Ok);
    m_link.OnlineMode = true;
    m_succeeded = true;
    end();
}
