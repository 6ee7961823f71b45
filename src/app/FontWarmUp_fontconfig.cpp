#include "FontWarmUp.h"

#include <fontconfig/fontconfig.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

void readFontConfiguration()
{
    FcInit();
#ifdef __GLIBC__
    // The reading's scratch memory stays in this thread's own heap, where
    // nothing else would use it again.
    malloc_trim(0);
#endif
}

} // namespace

FontWarmUp::FontWarmUp()
    : reader(readFontConfiguration)
{}

FontWarmUp::~FontWarmUp()
{
    wait();
}

void FontWarmUp::wait()
{
    if (reader.joinable())
        reader.join();
}
