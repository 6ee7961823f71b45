#include "PageText.h"

#include "core/store/CodePage.h"

QString PageText::decoded(std::string_view bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    CodePage::system().decode(reinterpret_cast<const unsigned char*>(bytes.data()),
                              reinterpret_cast<char16_t*>(text.data()), bytes.size());
    return text;
}
