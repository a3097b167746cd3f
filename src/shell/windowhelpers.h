#pragma once

class QLineEdit;
class QWidget;

// Small helpers shared by the windows and the pages.

// Selects the whole text of an entry field, so typing replaces it; used when
// an entry field takes the focus.
void SelectAllText(QLineEdit* field);

// Moves a window to the middle of the screen it is on (frame included).
void CenterWindow(QWidget* window);
