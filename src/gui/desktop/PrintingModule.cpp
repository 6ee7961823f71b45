#include "PrintingModule.h"

#include "QtPrinting.h"

extern "C" Q_DECL_EXPORT Printing* kelmoMakePrinting()
{
    return new QtPrinting;
}
