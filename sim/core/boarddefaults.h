#pragma once

class BoardMemory;

// Fills the memory of a freshly set-up board: the set-up parameters at
// their factory values, the bridge settings, the board's identity and the
// program ident of the demonstration program "K7600DEM".
void fillDefaultMemory(BoardMemory& memory);
