#pragma once

struct CommandContext;

// File > "&Upload (save) Data" and "&Download Data": the set-up document
// to and from the board, by the entry's kind (0 set-up parameters, 1 timing
// channels, 2 shift data, 4 all); a download is transfer kind 10 + kind.
class DataTransferCommands {
public:
    explicit DataTransferCommands(CommandContext& context) : m_context(context) {}

    void Upload(int kind);
    void Download(int kind);

private:
    CommandContext& m_context;
};
