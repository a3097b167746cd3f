#pragma once

#include <QString>

// The first of the two questions before a board's program is replaced,
// asked once the file set has been checked and before the board is asked
// anything: the main window's download command and vralctl ask it alike.
// Yes/No, question icon.
QString downloadQuestionTitle();
// fileName is the program file's name without its folder.
QString downloadQuestionText(const QString& fileName);
