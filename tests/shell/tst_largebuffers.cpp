#include "app/LargeBuffers.h"

#include <QtTest>
#include <cstdlib>

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define QUILLBOX_OWN_ALLOCATOR 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLBOX_OWN_ALLOCATOR 0
#endif
#endif
#ifndef QUILLBOX_OWN_ALLOCATOR
#define QUILLBOX_OWN_ALLOCATOR 1
#endif

class LargeBuffersTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aTextBufferAfterAFreedLargerOneGetsAMappingOfItsOwn();
};

// The C library by itself would serve the second buffer from its heap, which keeps the pages
// after the buffer is freed: each large copy would leave the program bigger.
void LargeBuffersTest::aTextBufferAfterAFreedLargerOneGetsAMappingOfItsOwn()
{
#if defined(M_MMAP_THRESHOLD) && QUILLBOX_OWN_ALLOCATOR
    keepLargeBuffersMapped();
    void *earlier = std::malloc(20 * 1000 * 1000);
    QVERIFY(earlier);
    std::free(earlier);
    const auto mappingsBefore = mallinfo2().hblks;
    void *later = std::malloc(4 * 1000 * 1000);
    QVERIFY(later);
    const auto mappings = mallinfo2().hblks - mappingsBefore;
    std::free(later);
    QCOMPARE(mappings, size_t(1));
#else
    QSKIP("the C library's own allocator is not in use");
#endif
}

QTEST_GUILESS_MAIN(LargeBuffersTest)
#include "tst_largebuffers.moc"
