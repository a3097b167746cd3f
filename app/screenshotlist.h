#pragma once

#include <QString>
#include <QStringList>

class ScreenTour;

// What the tour needs beside the application: where the pictures and the
// report go, and program file sets for the commands that ask for one.
struct ShotFiles {
    QString outputDir;
    QString programFile;    // NAME.wdx of a small program to download (code "4" board)
    QString clockBoardFile; // NAME.wdx of a board with a real-time clock (code "6")
    QString compareFile;    // a set-up file unlike the new document in every section
};

// The names of every shot, in the order the tour takes them: each is the
// file name in docs/ without ".png" (the report is a PDF).
QStringList shotNames();

// Adds the steps of the named shots (every shot when names is empty), each
// with the board, the online state and the page it needs. Returns the first
// name that is not a shot, or an empty string.
QString addShots(ScreenTour& tour, const QStringList& names, const ShotFiles& files);

// Writes the set-up file for the comparison with a file into dir and names
// it in files; false when it cannot be written.
bool writeCompareFile(const QString& dir, ShotFiles& files);

// Writes the two program file sets into dir and names them in files; false
// when they cannot be written.
bool writeProgramSets(const QString& dir, ShotFiles& files);
