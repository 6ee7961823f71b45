#include "FontWarmUp.h"
#include "LastSave.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"
#include "core/common/Product.h"
#include "core/store/FileError.h"
#include "core/store/PageFile.h"
#include "gui/common/FocusMarkStyle.h"
#include "gui/desktop/LoadedPrinting.h"
#include "gui/desktop/QtShell.h"
#include "gui/desktop/QtUserDialogs.h"
#include "gui/mainwindow/Form1.h"
#include "gui/tray/QtTrayIcon.h"

#include <QApplication>
#include <QSessionManager>

namespace {

// Under Wayland a window can neither place itself nor stay on top; through
// XWayland it can, so prefer that where it is there. Qt tries the platforms
// in the order given, so where no X display can be reached it starts on
// Wayland itself instead of giving up.
void preferX11OnWayland()
{
#ifdef Q_OS_LINUX
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qgetenv("XDG_SESSION_TYPE") == "wayland" &&
        !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
#endif
}

// False when another copy keeps this notebook: this one must end untouched.
// Where the notebook cannot be locked, `unguarded` says so for a notice.
bool claimNotebook(SingleInstance& instance, UserDialogs& dialogs, QString& unguarded)
{
    // Only a message names the notebook's full path.
    auto notebook = [] { return QString::fromStdString(shownPath(PageFile::kName)); };
    switch (instance.claim()) {
    case SingleInstance::Claim::Alone:
        return true;
    case SingleInstance::Claim::ShownElsewhere:
        return false;
    case SingleInstance::Claim::OpenElsewhere:
        dialogs.tell(
            Product::kMessageTitle,
            QStringLiteral("The notebook \"%1\" is open in another Kelmo-Note (on another computer, or "
                           "for another user). This one ends and leaves the notebook alone.")
                .arg(notebook())
                .toStdString(),
            UserDialogs::Icon::Information);
        return false;
    case SingleInstance::Claim::Unguarded:
        unguarded =
            QStringLiteral("Kelmo-Note cannot lock the notebook \"%1\": %2.\n\nIt runs all the same; do "
                           "not open this notebook in a second Kelmo-Note at the same time.")
                .arg(notebook(), instance.lockFailure());
        return true;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    preferX11OnWayland();
    FontWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(Product::kName));
    // The window may be hidden in the tray; the program ends when it unloads.
    QApplication::setQuitOnLastWindowClosed(false);
    FocusMarkStyle::install();

    QtUserDialogs dialogs;
    SingleInstance instance(QString::fromLatin1(PageFile::kName));
    QString unguarded;
    if (!claimNotebook(instance, dialogs, unguarded))
        return 0;

    fonts.wait();
    QtTrayIcon tray;
    LoadedPrinting printing(dialogs);
    QtShell shell;
    Desktop desktop{dialogs, tray, printing, shell};
    Form1 form(desktop);
    dialogs.setParent(&form);

    // exit() rather than quit(): an end that comes while a message of the
    // start-up is up must end that message's loop too, and quit() does
    // nothing before the main loop has begun.
    QObject::connect(
        &form, &Form1::ended, &app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
                     [&form](QSessionManager&) { form.Form_Unload(); });
    QObject::connect(&instance, &SingleInstance::showRequested, &form, &Form1::Möffnen_Click);
    endOnTerminationSignals(&form, [&form] { form.endWithoutAsking(); });
    const LastSave lastSave([&form] { form.saveWithoutAsking(); });

    if (!form.Form_Load())
        return 1;
    if (form.hasEnded())
        return 0; // during the start-up
    if (!unguarded.isEmpty())
        form.postNotice(QStringLiteral("lock"), unguarded);
    return app.exec();
}
