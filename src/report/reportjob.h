#pragma once

#include <QString>

class QPagedPaintDevice;

// Where one run of the report goes: a printer's job or a PDF file.
class ReportJob {
public:
    virtual ~ReportJob() = default;

    // True for a file, false for a printer: the messages name them differently.
    virtual bool isFile() const = 0;
    // The printer's name or the file's path, for messages.
    virtual QString target() const = 0;
    // The device the pages are drawn on; null when the printer or file could
    // not be opened.
    virtual QPagedPaintDevice* device() = 0;
    // How many times the report's pages must be drawn on the device: a
    // printer whose driver makes the copies itself (and a file) takes them
    // once; a device that cannot (the toolkit's PDF printer) gets each copy
    // drawn, collated.
    virtual int copiesToDraw() const { return 1; }
    // After the painter has ended: hands the job on (a file is saved in
    // place). False when that failed.
    virtual bool finish() = 0;
};
