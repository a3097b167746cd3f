#pragma once

class AppFolder;
class QString;
class QWidget;
struct PageServices;

// Shows the target board page modally for a program file, in a dialog of its
// own; returns when the user has pressed Ok (or closed the window).
void showTargetBoardDialog(PageServices& services, const AppFolder& folder,
                           const QString& programPath, QWidget* parent);
