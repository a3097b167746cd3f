// A dialog-sized block gets a mapping of its own (returned to the system
// when freed) even after a window-sized block has come and gone, which is
// what raises the C library's own threshold.
#include "heaptuning.h"

#include <QtTest>

#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {
// The block really is allocated and freed, not optimised away.
void* touched(std::size_t bytes) {
    void* block = std::malloc(bytes);
    asm volatile("" : : "r"(block) : "memory");
    return block;
}
} // namespace

class TestHeapTuning : public QObject {
    Q_OBJECT

private slots:
    void aDialogSizedBlockIsMappedAfterABiggerOneWasFreed();
};

void TestHeapTuning::aDialogSizedBlockIsMappedAfterABiggerOneWasFreed() {
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__)
    QSKIP("the GNU C library's allocator only");
#else
    keepLargeBlocksOutOfTheHeap();
    std::free(touched(4 << 20)); // a window's picture
    const std::size_t mappedBefore = mallinfo2().hblks;
    void* dialog = touched(1 << 20);
    const std::size_t mappedWhile = mallinfo2().hblks;
    std::free(dialog);
    QCOMPARE(mappedWhile, mappedBefore + 1);
    QCOMPARE(mallinfo2().hblks, mappedBefore);
#endif
}

QTEST_GUILESS_MAIN(TestHeapTuning)
#include "tst_heaptuning.moc"
