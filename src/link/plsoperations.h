#pragma once

#include <QString>

#include <array>
#include <vector>

class PlsTransactions;
class Prompts;
struct LinkFlags;

// The operations the timing page and the data transfer use on the board's
// programmable limit switch: each one checks its input against the PLS's
// scale factor before anything is sent, refuses with its own box, and ends
// at the first failing transaction without undoing the ones before it.
class PlsOperations {
public:
    PlsOperations(PlsTransactions& pls, LinkFlags& flags, Prompts& prompts);

    // A register as decimal text, "-9999" when the read failed.
    QString registerText(int readCommand);
    bool singleSetpoint(int chan, int onSetpoint, int offSetpoint, bool clearChan);
    bool pulseTrain(int chan, int onDivision, int offDivision, int startDivision);
    bool clearChannel(int chan);
    bool recallChannel(int chan);
    bool setOffset(int position);
    // cfgParam holds at least 24 values (four blocks of six).
    bool configDownload(const std::vector<int>& cfgParam, int scaleFactor);
    std::array<int, 19> configUpload();

private:
    // The scale factor, or nothing (false) when the read failed.
    bool readScale(int& scale);
    void refuse(const QString& title, const QString& text);

    PlsTransactions& m_pls;
    LinkFlags& m_flags;
    Prompts& m_prompts;
};
