#pragma once

#include "pageservices.h"

#include <QVector>

// The main window's page table, in Window-menu order. Entry 2 (the DF1
// bridge page) stands in the table but its menu entry is hidden.
QVector<PageEntry> pageTable();
