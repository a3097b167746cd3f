#pragma once

#include <QString>

class ScreenTour;
struct ShotFiles;
struct SoakSchedule;
class VralApplication;

// The soak's work as steps of the tour, through the application's menus as
// an operator takes them: online to the board on device, then every page of
// the page table in turn, and the target board page, the "&All" upload and
// download and the report to PDF when the schedule says. Each finished
// piece of work prints "did WHAT" on standard output.
void addSoakSteps(ScreenTour& tour, VralApplication& app, const SoakSchedule& schedule,
                  const QString& device, const ShotFiles& files);
