#include "SecondaryWindows.h"

#include "gui/about/Form3.h"
#include "gui/common/KeyboardReturn.h"
#include "gui/options/Form2.h"

#include <QWidget>

SecondaryWindows::SecondaryWindows(Shell& shell_, UserDialogs& dialogs_, QWidget* mainWindow_)
    : QObject(mainWindow_)
    , shell(shell_)
    , dialogs(dialogs_)
    , mainWindow(mainWindow_)
{}

SecondaryWindows::~SecondaryWindows()
{
    // Ending with the main window: there is nothing to give the keyboard to.
    for (QWidget* dialog : sammleDialoge())
        if (dialog)
            dialog->disconnect(this);
    delete optionsForm;
    delete aboutForm;
}

Form2* SecondaryWindows::options() const
{
    return optionsForm;
}

Form3* SecondaryWindows::about() const
{
    return aboutForm;
}

void SecondaryWindows::openOptions(const QFont& editorFont)
{
    if (!optionsForm) {
        optionsForm = new Form2(editorFont, dialogs);
        connect(optionsForm, &Form2::editorFontChosen, this, &SecondaryWindows::editorFontChosen);
        optionsForm->Form_Load();
    }
    zeige(*optionsForm);
}

void SecondaryWindows::openAbout()
{
    if (!aboutForm)
        aboutForm = new Form3(shell, dialogs);
    zeige(*aboutForm);
}

void SecondaryWindows::zeige(QWidget& dialog)
{
    connect(&dialog, &QObject::destroyed, this, &SecondaryWindows::gibTastaturZurueck, Qt::UniqueConnection);
    dialog.show();
    // Minimised by the window manager, a dialog may have no taskbar entry to
    // come back from: opening it again is the way back.
    dialog.setWindowState(dialog.windowState() & ~Qt::WindowMinimized);
    dialog.raise();
    dialog.activateWindow();
}

// The dialogs are windows of their own, so nobody hands the keyboard back
// when they close: without this, someone who closed one with Escape would
// be typing into no window at all.
void SecondaryWindows::gibTastaturZurueck()
{
    KeyboardReturn::to(mainWindow);
}

std::array<QWidget*, 2> SecondaryWindows::sammleDialoge() const
{
    return {optionsForm.data(), aboutForm.data()};
}

void SecondaryWindows::raiseOpen()
{
    for (QWidget* dialog : sammleDialoge())
        if (dialog && dialog->isVisible())
            dialog->raise();
}

void SecondaryWindows::closeAll()
{
    for (QWidget* dialog : sammleDialoge())
        if (dialog)
            dialog->close();
}
