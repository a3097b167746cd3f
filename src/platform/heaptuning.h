#pragma once

// Keeps large blocks (window backing stores, a dialog's picture, a report
// page's image) out of the C library's heap, so that the memory a closed
// dialog or a finished report used goes back to the system at once.
//
// The GNU C library serves a block over its mapping threshold (128 KiB at
// start) with a mapping of its own, returned when freed; but each time such
// a block is freed it raises the threshold to that block's size, so that
// from then on blocks of up to a few megabytes come from the heap, and the
// heap keeps their pages resident when they are freed below a block still
// in use. A program open for a whole shift then holds, after each large
// dialog, a megabyte or two it no longer uses. Fixing the threshold stops
// that; elsewhere (another C library, a sanitizer's allocator) it does
// nothing. Call once, early.
void keepLargeBlocksOutOfTheHeap();
