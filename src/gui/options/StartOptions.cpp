#include "StartOptions.h"

#include "core/common/Product.h"
#include "core/desktop/UserDialogs.h"
#include "core/options/OptionsFile.h"

#include <QWidget>

namespace StartOptions {

void apply(QWidget& window, QWidget& editor, bool mayHide, UserDialogs& dialogs)
{
    Options options;
    if (auto error = OptionsFile::read(OptionsFile::kName, options)) {
        options = {};
        window.show();
        dialogs.tell(Product::kMessageTitle,
                     fileErrorText("Kelmo-Note cannot read its options from", *error,
                                   "It starts with the usual settings; your pages are not affected."),
                     UserDialogs::Icon::Warning);
    }
    if (OptionsFile::startsHidden(options.startHidden) && mayHide) {
        window.hide();
    } else {
        window.show();
        // openbox gives no focus of its own to a new window that keeps out
        // of the taskbar.
        window.activateWindow();
    }
    QFont font = editor.font();
    if (const auto points = OptionsFile::pointSize(options.fontSize))
        font.setPointSize(*points);
    if (const auto name = OptionsFile::fontName(options.fontName))
        font.setFamily(QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size())));
    editor.setFont(font);
}

} // namespace StartOptions
