#include "boardtypes.h"

namespace {

struct BoardType {
    char code;
    const char* name;
    const char* lcfIndex;
};

constexpr BoardType kBoardTypes[] = {
    {'1', "R6110", "1"},      {'2', "R6112", "1"},      {'3', "R6114", "?"},
    {'4', "R6121", "2"},      {'5', "R6122", "3"},      {'6', "R6116", "D"},
    {'7', "R6141", ""},       {'8', "R6124", "F"},      {'9', "Not Defined", ""},
    {':', "K7110", "@"},      {';', "K7111", "A"},      {'<', "K7112", "B"},
    {'=', "K7120(PLC)", "C"}, {'>', "K7120(PLS)", ""},  {'?', "K7140", ""},
    {'@', "K7141", ""},       {'A', "V2210", "E"},      {'B', "K7121(PLC)", ""},
    {'C', "K7121(PLS)", ""},  {'D', "K7600(PLC)", "G"}, {'E', "K7600(PLS)", ""},
};

const BoardType* find(int typeCode) {
    for (const BoardType& type : kBoardTypes)
        if (type.code == typeCode)
            return &type;
    return nullptr;
}

} // namespace

QString targetBoardName(int typeCode) {
    if (const BoardType* type = find(typeCode))
        return QString::fromLatin1(type->name);
    return QString(QChar(static_cast<char16_t>(typeCode))) + QStringLiteral(" Is Not Defined.");
}

QString lcfBoardIndex(int typeCode) {
    if (const BoardType* type = find(typeCode))
        return QString::fromLatin1(type->lcfIndex);
    return QString();
}
