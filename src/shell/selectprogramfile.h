#pragma once

#include <QString>

#include <optional>

struct CommandContext;

// What a program file is picked for: File > "Download Pro&gram" (0) or
// View > "&Target Board Interface" (1).
enum class ProgramFilePurpose { Download = 0, TargetBoard = 1 };

// The program file dialog ("Wendax Files") titled title, proposing the
// program chosen last; the chosen path becomes the last one. nullopt when
// cancelled.
std::optional<QString> askForProgramFile(CommandContext& context, const QString& title);

// Picks a program file for purpose and selects its file set through
// RSComm::DownloadFile, whose boxes tell why a set cannot be downloaded.
// A download first offers to go online. Returns the program path when the
// set is valid; for the target board page a cancelled dialog returns the
// program chosen before (possibly empty) without checking it again.
std::optional<QString> SelectProgramFile(CommandContext& context, ProgramFilePurpose purpose);
