#include "boardreadback.h"

namespace {
constexpr int kUploadAll = 4;

AppState scratchState(const SetupDocument& base) {
    AppState state;
    state.CurrentDocument = base;
    state.CurrentDocument.fitTables();
    return state;
}
} // namespace

BoardReadback::BoardReadback(const SetupDocument& base, RSComm& link, Prompts& prompts)
    : m_scratch(scratchState(base)), m_transfer(m_scratch, link, prompts, kUploadAll) {}
