#include "plsoperations.h"

#include "linkflags.h"
#include "plsregisters.h"
#include "plstransactions.h"
#include "prompts.h"

namespace {

using namespace PlsRegister;

const QString kBreak = QStringLiteral("\r\n\r\n");
const QString kSetpointTitle = QStringLiteral("PLS Single Setpoint");
const QString kPulseTitle = QStringLiteral("PLS Pulse Train");
const QString kPulseNotProgrammed = kBreak + QStringLiteral("PLS Channel will not be Programmed.");
const QString kOffsetTitle = QStringLiteral("Set PLS Offset");

} // namespace

PlsOperations::PlsOperations(PlsTransactions& pls, LinkFlags& flags, Prompts& prompts)
    : m_pls(pls), m_flags(flags), m_prompts(prompts) {}

QString PlsOperations::registerText(int readCommand) {
    return QString::number(m_pls.readWord(readCommand));
}

bool PlsOperations::readScale(int& scale) {
    scale = m_pls.readWord(kReadScale);
    return !m_flags.CommError && scale != PlsTransactions::kReadFailed;
}

void PlsOperations::refuse(const QString& title, const QString& text) {
    m_prompts.message(title, text, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

bool PlsOperations::singleSetpoint(int chan, int onSetpoint, int offSetpoint, bool clearChan) {
    if (m_flags.CommError)
        return false;
    int scale = 0;
    if (!readScale(scale))
        return false;
    for (const int setpoint : {onSetpoint, offSetpoint}) {
        if (setpoint > scale - 1) {
            refuse(kSetpointTitle, QStringLiteral("Setpoint setting %1 is greater than scale "
                                                  "factor.")
                                           .arg(setpoint) +
                                       kBreak + QStringLiteral("Channel can not be programmed."));
            return false;
        }
    }
    if (clearChan && (!m_pls.channelCommand(kChannelSetpoint, chan, 0, 0, 0) || m_flags.CommError))
        return false;
    return m_pls.channelCommand(kChannelSetpoint, chan, onSetpoint, offSetpoint, 1);
}

bool PlsOperations::pulseTrain(int chan, int onDivision, int offDivision, int startDivision) {
    int scale = 0;
    if (!readScale(scale))
        return false;
    QString refusal;
    if (onDivision == 0 || offDivision == 0)
        refusal = QStringLiteral("ON Division and OFF Division Must be Greater Than 0.");
    else if (scale % (onDivision + offDivision) != 0)
        refusal =
            QStringLiteral("ON Division Plus OFF Division\r\nMust be a Multiple of %1.").arg(scale);
    else if (onDivision > 255 || offDivision > 255)
        refusal = QStringLiteral("ON Division or OFF Division Must be Less Than 255.");
    else if (startDivision > scale - 1)
        refusal = QStringLiteral("Start Position Must Not Be Greater Than %1.").arg(scale - 1);
    if (!refusal.isEmpty()) {
        refuse(kPulseTitle, refusal + kPulseNotProgrammed);
        return false;
    }
    if (m_pls.channelCommand(kChannelPulseTrain, chan, startDivision,
                             offDivision * 256 + onDivision, 0))
        return !m_flags.CommError;
    m_prompts.message(kPulseTitle,
                      QStringLiteral("Error Encountered while Programming Pulse Train.") +
                          kPulseNotProgrammed,
                      Prompts::Icon::Information, Prompts::Buttons::Ok);
    return false;
}

bool PlsOperations::clearChannel(int chan) {
    return m_pls.channelCommand(kChannelSetpoint, chan, 0, 0, 0);
}

bool PlsOperations::recallChannel(int chan) {
    return m_pls.recallChannel(chan);
}

bool PlsOperations::setOffset(int position) {
    if (m_flags.CommError)
        return false;
    const int offset = m_pls.readWord(kReadOffset);
    if (m_flags.CommError || offset == PlsTransactions::kReadFailed)
        return false;
    const int current = m_pls.readWord(kReadPosition);
    if (m_flags.CommError || current == PlsTransactions::kReadFailed)
        return false;
    int scale = 0;
    if (!readScale(scale))
        return false;
    if (position > scale) {
        refuse(kOffsetTitle,
               QStringLiteral("Desired Position cannot be greater than Scale Factor of %1.")
                       .arg(scale) +
                   kBreak + QStringLiteral("PLS Offset will not be Programmed."));
        return false;
    }
    // A scale of 0 would leave no position to align to: nothing to write.
    if (scale <= 0)
        return false;
    const int newOffset = (((offset + current) % scale) + scale - position) % scale;
    return m_pls.writeWord(kWriteOffset, newOffset);
}

bool PlsOperations::configDownload(const std::vector<int>& cfgParam, int scaleFactor) {
    if (cfgParam.size() < 24)
        return false;
    for (int block = 0; block < 4; ++block) {
        std::array<int, 6> values{};
        for (int i = 0; i < 6; ++i)
            values[size_t(i)] = cfgParam[size_t(6 * block + i)];
        if (!m_pls.configBlock(kFirstConfigBlock + 16 * block, values))
            return false;
    }
    return m_pls.writeWord(kWriteScale, scaleFactor);
}

std::array<int, 19> PlsOperations::configUpload() {
    if (!m_pls.readConfig(kReadConfig))
        refuse(QStringLiteral("PLS Upload"),
               QStringLiteral("Not able to Upload Configuration from PLS."));
    return m_pls.config();
}
